// Poll records in batches, host side: the payload forms (a lone record as
// it is, several as a list of lengths and bytes), a list that does not add
// up refused whole, and the records handed out in order under the serials
// after the batch's own, across the serials' wrap.
#include "poll_read_ahead.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame.hpp"
#include "poll_batch.hpp"

namespace pendra {
namespace {

using Records = std::vector<std::string>;

wire::Reply batchOf(const Records& records, std::size_t most = wire::kMaxPollBatch) {
    const wire::PackedRecords packed = wire::packRecords(records, most);
    return wire::Reply{1, packed.payload, packed.listed};
}

TEST(PollBatchForm, PacksWhatFitsAndUnpacksToTheSameRecords) {
    const Records three{"A,1\r\n", "", "A,3"};
    const wire::PackedRecords packed = wire::packRecords(three, 32);
    EXPECT_TRUE(packed.listed);
    EXPECT_EQ(packed.records, 3u);
    EXPECT_EQ(packed.payload, std::string("\x05"
                                          "A,1\r\n"
                                          "\x00"
                                          "\x03"
                                          "A,3",
                                          11));
    EXPECT_EQ(wire::unpackRecords(packed.payload, true), three);

    // `most` caps the count; a lone record goes as it is, unlisted.
    EXPECT_EQ(wire::packRecords(three, 2).records, 2u);
    const wire::PackedRecords one = wire::packRecords(three, 1);
    EXPECT_FALSE(one.listed);
    EXPECT_EQ(one.payload, "A,1\r\n");

    // Never more than one payload: 23-byte records go ten at a time.
    const Records many(40, std::string(23, 'r'));
    const wire::PackedRecords full = wire::packRecords(many, 32);
    EXPECT_EQ(full.records, 10u);
    EXPECT_LE(full.payload.size(), wire::kMaxPayload);
    EXPECT_EQ(wire::unpackRecords(full.payload, true)->size(), 10u);

    EXPECT_EQ(wire::packRecords({}, 32).records, 0u);
}

TEST(PollBatchForm, ARecordOfTheFullPayloadGoesAlone) {
    const std::string longest(wire::kMaxPayload, 'L');
    const wire::PackedRecords packed = wire::packRecords({longest, "next"}, 32);
    EXPECT_FALSE(packed.listed);
    EXPECT_EQ(packed.records, 1u);
    EXPECT_EQ(wire::unpackRecords(packed.payload, false), Records{longest});
    // One byte short of the payload still cannot share it.
    EXPECT_EQ(wire::packRecords({std::string(254, 'x'), "y"}, 32).records, 1u);
    EXPECT_EQ(wire::packRecords({std::string(256, 'x')}, 32).records, 0u);
}

TEST(PollBatchForm, AListThatDoesNotAddUpIsRefusedWhole) {
    EXPECT_FALSE(wire::unpackRecords("", true));  // no entry
    EXPECT_FALSE(wire::unpackRecords(std::string("\x04"
                                                 "abc",
                                                 4),
                                     true));  // short
    EXPECT_FALSE(wire::unpackRecords(std::string("\x01"
                                                 "a"
                                                 "\x02"
                                                 "b",
                                                 4),
                                     true));
    EXPECT_FALSE(wire::unpackRecords(std::string("\xFF", 1), true));
    std::string tooMany;
    for (int i = 0; i <= wire::kMaxPollBatch; ++i)
        tooMany += std::string(
            "\x01"
            "x",
            2);
    EXPECT_FALSE(wire::unpackRecords(tooMany, true));
    // Unlisted, any bytes are one record.
    EXPECT_EQ(wire::unpackRecords(std::string("\x04"
                                              "abc",
                                              4),
                                  false)
                  ->size(),
              1u);
}

TEST(PollReadAhead, HandsOutInOrderUnderTheSerialsAfterTheBatch) {
    PollReadAhead ahead;
    const auto first = ahead.start(126, batchOf({"r1", "r2", "r3", "r4"}));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->payload, "r1");
    EXPECT_EQ(first->status, 1);
    EXPECT_FALSE(first->more);
    EXPECT_TRUE(ahead.holdsAfter(126));
    EXPECT_FALSE(ahead.take(0)) << "only the next in order";
    EXPECT_EQ(ahead.take(127)->payload, "r2");
    EXPECT_EQ(ahead.handedOut()->payload, "r2");
    EXPECT_EQ(ahead.take(0)->payload, "r3");  // across the wrap
    EXPECT_TRUE(ahead.holdsAfter(0));
    EXPECT_EQ(ahead.take(1)->payload, "r4");
    EXPECT_FALSE(ahead.holdsAfter(1));
    EXPECT_FALSE(ahead.take(2));
}

TEST(PollReadAhead, AMalformedBatchHoldsNothingAndADropKeepsWhatIsOwed) {
    PollReadAhead ahead;
    ASSERT_TRUE(ahead.start(10, batchOf({"a", "b", "c"})));
    ahead.owe(10);
    EXPECT_FALSE(ahead.start(11, wire::Reply{1,
                                             std::string("\x09"
                                                         "short",
                                                         6),
                                             true}));
    EXPECT_FALSE(ahead.holdsAfter(11));
    EXPECT_FALSE(ahead.take(12));
    EXPECT_FALSE(ahead.handedOut());
    EXPECT_EQ(ahead.owed(), 10);

    ASSERT_TRUE(ahead.start(20, batchOf({"x", "y"})));
    ahead.drop();
    EXPECT_FALSE(ahead.take(21)) << "records held are dropped, never handed out later";
    EXPECT_FALSE(ahead.handedOut());
    EXPECT_EQ(ahead.owed(), 10) << "what the caller acknowledged is still owed";
    ahead.settle();
    EXPECT_FALSE(ahead.owed());
}

TEST(PollReadAhead, RecordsHeldPastTheBoundAreStale) {
    using std::chrono::seconds;
    const std::chrono::steady_clock::time_point t0{seconds(1000)};
    PollReadAhead ahead;
    ASSERT_TRUE(ahead.start(3, batchOf({"a", "b"}), t0));
    EXPECT_FALSE(ahead.stale(t0 + seconds(10), seconds(10)));
    EXPECT_TRUE(ahead.stale(t0 + seconds(11), seconds(10)));
    ASSERT_TRUE(ahead.take(4));
    EXPECT_FALSE(ahead.stale(t0 + seconds(11), seconds(10))) << "nothing held";
}

}  // namespace
}  // namespace pendra
