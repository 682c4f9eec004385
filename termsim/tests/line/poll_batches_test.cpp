// Poll records in batches, terminal side, against a terminal that counts
// the records it was told were taken: a batch repeated is the same reply and
// takes nothing; acknowledgements are cumulative, by Ack frame or by the
// next request's flag; records sent but not acknowledged go again.
#include "poll_batches.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "poll_batch.hpp"

namespace termsim {
namespace {

using pendra::wire::Command;
using pendra::wire::Reply;
using pendra::wire::Request;

// Records "R0", "R1", ...; `taken` counts those acknowledged to it, one
// poll and one Ack at a time as a stop-and-wait host would.
class CountingRecords : public TerminalLine {
public:
    CountingRecords(int records, bool canLookAhead) : records_(records), ahead_(canLookAhead) {}

    std::optional<Reply> handle(const Request& request) override {
        if (request.command == Command::Poll) {
            polled_ = taken_ < records_;
            if (!polled_) return Reply{3, "", false};
            return Reply{1, name(taken_), false};
        }
        if (request.command == Command::Ack && polled_) {
            ++taken_;
            polled_ = false;
        }
        return std::nullopt;
    }
    bool hasModem() const override { return false; }
    ModemAnswer modemCommand(const std::string&) override { return {}; }
    std::vector<std::string> pollRecordsAhead(char, std::size_t most) override {
        std::vector<std::string> ahead;
        for (int i = taken_; ahead_ && i < records_ && ahead.size() < most; ++i) {
            ahead.push_back(name(i));
        }
        return ahead;
    }

    int taken() const { return taken_; }

private:
    static std::string name(int i) { return "R" + std::to_string(i); }

    int records_;
    bool ahead_;
    int taken_ = 0;
    bool polled_ = false;
};

Request batchRequest(uint8_t most) {
    Request request;
    request.command = Command::PollBatch;
    request.address = 'A';
    request.payload = std::string(1, static_cast<char>(most)) + std::string(4, '\0');
    return request;
}

std::vector<std::string> recordsOf(const std::optional<Reply>& reply) {
    if (!reply || reply->status != 1) return {};
    return *pendra::wire::unpackRecords(reply->payload, reply->more);
}

TEST(PollBatches, ARepeatIsTheSameReplyAndTakesNothing) {
    CountingRecords terminal(10, true);
    PollBatches batches(terminal);
    bool repeated = true;
    const auto first = batches.request(batchRequest(4), 126, false, repeated);
    EXPECT_FALSE(repeated);
    EXPECT_EQ(recordsOf(first), (std::vector<std::string>{"R0", "R1", "R2", "R3"}));
    const auto again = batches.request(batchRequest(4), 126, false, repeated);
    EXPECT_TRUE(repeated) << "a lost batch asked again under its serial";
    EXPECT_EQ(again->payload, first->payload);
    EXPECT_EQ(terminal.taken(), 0);
}

TEST(PollBatches, AcknowledgementsAreCumulativeAcrossTheWrap) {
    CountingRecords terminal(10, true);
    PollBatches batches(terminal);
    bool repeated = false;
    batches.request(batchRequest(4), 126, false, repeated);  // R0..R3 under 126, 127, 0, 1
    batches.acknowledge('A', 125);                           // before the batch: nothing
    EXPECT_EQ(terminal.taken(), 0);
    batches.acknowledge('A', 127);
    EXPECT_EQ(terminal.taken(), 2);
    batches.acknowledge('A', 126);  // late, already covered
    batches.acknowledge('A', 2);    // past the batch: nothing
    EXPECT_EQ(terminal.taken(), 2);
    // The Ack frame for R2 (serial 0) was lost; the next batch request's
    // flag acknowledges it, and the batch starts after it.
    const auto next = batches.request(batchRequest(4), 1, true, repeated);
    EXPECT_FALSE(repeated);
    EXPECT_EQ(terminal.taken(), 3);
    EXPECT_EQ(recordsOf(next), (std::vector<std::string>{"R3", "R4", "R5", "R6"}))
        << "R3, sent but never acknowledged, comes again";
}

TEST(PollBatches, AnotherRequestEndsTheBatchAndItsFlagAcknowledges) {
    CountingRecords terminal(10, true);
    PollBatches batches(terminal);
    bool repeated = false;
    batches.request(batchRequest(8), 40, false, repeated);
    batches.otherRequest('A', 43, true);  // took R0..R2
    EXPECT_EQ(terminal.taken(), 3);
    EXPECT_FALSE(batches.active('A'));
    batches.acknowledge('A', 45);  // not ours any more
    EXPECT_EQ(terminal.taken(), 3);

    batches.request(batchRequest(8), 44, false, repeated);
    batches.otherRequest('A', 45, false);  // no flag: nothing taken
    EXPECT_EQ(terminal.taken(), 3);
    // Not a repeat after the batch ended: a new batch from where it stands.
    const auto again = batches.request(batchRequest(8), 44, false, repeated);
    EXPECT_FALSE(repeated);
    EXPECT_EQ(recordsOf(again).front(), "R3");
}

TEST(PollBatches, ATerminalThatCannotLookAheadSendsOneRecordAndSaysWhenItHasNone) {
    CountingRecords terminal(1, false);
    PollBatches batches(terminal);
    bool repeated = false;
    const auto one = batches.request(batchRequest(32), 5, false, repeated);
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->more);
    EXPECT_EQ(one->payload, "R0");
    batches.acknowledge('A', 5);
    EXPECT_EQ(terminal.taken(), 1);
    const auto none = batches.request(batchRequest(32), 6, true, repeated);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->status, 3);
    batches.acknowledge('A', 6);  // a "no data" reply holds nothing to take
    EXPECT_EQ(terminal.taken(), 1);
}

}  // namespace
}  // namespace termsim
