// Polling through the command library when the terminals send records in
// batches: the caller sees what a stop-and-wait terminal would give, every
// record arrives once and in order per terminal under line faults, and
// records the link held but did not hand out come again later.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <thread>

#include "line_under_test.hpp"
#include "pendra.h"

namespace termsim::end_to_end {
namespace {

using Clock = std::chrono::steady_clock;

class PollReadAhead : public LineUnderTest {
protected:
    void TearDown() override {
        ::unsetenv("PENDRA_PROTOCOL");
        LineUnderTest::TearDown();
    }

    void startTerminals(const std::string& addresses, int records, LineOptions options = {}) {
        std::vector<TerminalConfig> configs;
        for (char address : addresses) {
            TerminalConfig config = terminal(address);
            config.generatedRecords = records;
            configs.push_back(config);
        }
        startLine(configs, options);
    }

    // The number in a generated record "A,00017,49...": 17.
    static int numberOf(const char* record) { return std::atoi(record + 2); }

    // One HM_poll; the record's number, 0 for no data, -1 for a failure.
    static int pollOnce(char address) {
        std::vector<char> record(ZELO_POLL_RECORD_SIZE, 0);
        int32_t length = 0;
        const int32_t result = HM_poll(kPort, address, record.data(), &length);
        if (result == ZELO_NO_DATA) return 0;
        if (result != ZELO_OK) return -1;
        EXPECT_EQ(record[0], address);
        EXPECT_EQ(length, static_cast<int32_t>(std::strlen(record.data())));
        return numberOf(record.data());
    }

    // Visits the terminals in turn, as the polling engine does, until each
    // has said "no data" after its last record; the numbers each gave.
    std::map<char, std::vector<int>> pollUntilEmpty(const std::string& addresses, int records) {
        std::map<char, std::vector<int>> received;
        std::map<char, bool> empty;
        const auto until = Clock::now() + std::chrono::seconds(60);
        while (empty.size() < addresses.size() && Clock::now() < until) {
            for (char address : addresses) {
                if (empty.count(address) != 0) continue;
                const int number = pollOnce(address);
                if (number > 0) received[address].push_back(number);
                if (number == 0 && static_cast<int>(received[address].size()) >= records) {
                    empty[address] = true;
                }
            }
        }
        return received;
    }

    void expectEveryRecordOnceInOrder(const std::string& addresses, int records,
                                      LineOptions options) {
        startTerminals(addresses, records, options);
        const auto received = pollUntilEmpty(addresses, records);
        std::vector<int> expected;
        for (int n = 1; n <= records; ++n) expected.push_back(n);
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            EXPECT_EQ(received.count(addresses[i]) ? received.at(addresses[i]) : std::vector<int>{},
                      expected)
                << "terminal " << addresses[i];
            EXPECT_EQ(stateOf("pollRecordsPending", i), "0") << "terminal " << addresses[i];
        }
    }

    static LineOptions faulty(uint32_t seed) {
        LineOptions options;
        options.faults.drop = 0.04;
        options.faults.nak = 0.04;
        options.faults.silent = 0.04;
        options.faults.corrupt = 0.04;
        options.faults.late = 0.04;
        options.faults.lateBy = std::chrono::milliseconds(500);
        options.faults.seed = seed;
        return options;
    }

    // Waits for the terminal at `index` to have been told of `count`
    // records taken (an Ack frame has no reply to wait for).
    bool deliveredBecomes(const std::string& count, std::size_t index = 0) {
        const auto until = Clock::now() + std::chrono::seconds(5);
        while (stateOf("pollRecordsDelivered", index) != count && Clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return stateOf("pollRecordsDelivered", index) == count;
    }
};

TEST_F(PollReadAhead, BatchesCarryTheRecordsWithFewRepliesAndVersionOneStaysAvailable) {
    startTerminals("A", 40);
    auto before = ptyLine_.server().counters().replies.load();
    const auto received = pollUntilEmpty("A", 40);
    EXPECT_EQ(received.at('A').size(), 40u);
    EXPECT_LT(ptyLine_.server().counters().replies.load() - before, 10u)
        << "several records per reply";

    // The same through a host that speaks only version 1: one per reply.
    HM_CloseCommPort(kPort);
    ptyLine_.unplug();
    ::setenv("PENDRA_PROTOCOL", "1", 1);
    startTerminals("B", 12);
    before = ptyLine_.server().counters().replies.load();
    const auto one = pollUntilEmpty("B", 12);
    EXPECT_EQ(one.at('B').size(), 12u);
    EXPECT_EQ(ptyLine_.server().counters().replies.load() - before, 13u)
        << "twelve records and the no-data reply";
}

TEST_F(PollReadAhead, AVersionOneTerminalIsPolledOneRecordPerReply) {
    LineOptions versionOne;
    versionOne.streaming = false;
    startTerminals("A", 12, versionOne);
    const auto before = ptyLine_.server().counters().replies.load();
    const auto received = pollUntilEmpty("A", 12);
    EXPECT_EQ(received.at('A').size(), 12u);
    EXPECT_EQ(ptyLine_.server().counters().replies.load() - before, 13u);
}

TEST_F(PollReadAhead, EveryRecordOfTwoTerminalsArrivesOnceAndInOrderUnderFaults) {
    expectEveryRecordOnceInOrder("AB", 120, faulty(7));
}

TEST_F(PollReadAhead, EveryRecordOfTenTerminalsArrivesOnceAndInOrderUnderFaults) {
    expectEveryRecordOnceInOrder("ABCDEFGHIJ", 30, faulty(11));
}

TEST_F(PollReadAhead, LostAndLateBatchesAreAskedAgainAndSkippedBySerial) {
    LineOptions options;
    options.faults.silent = 0.15;
    options.faults.late = 0.15;
    options.faults.lateBy = std::chrono::milliseconds(450);
    options.faults.seed = 3;
    expectEveryRecordOnceInOrder("AB", 60, options);
    EXPECT_GT(ptyLine_.server().counters().replayed.load(), 0u)
        << "a batch asked again came from memory";
}

TEST_F(PollReadAhead, RecordsHeldWhenTheLinkClosesComeAgainAndNoneTwice) {
    startTerminals("A", 30);
    std::vector<int> received;
    for (int i = 0; i < 4; ++i) received.push_back(pollOnce('A'));
    EXPECT_EQ(received, (std::vector<int>{1, 2, 3, 4}));
    // The fourth record's acknowledgement waited for the rest of the batch;
    // closing the link tells the terminal, the rest stay with it.
    HM_CloseCommPort(kPort);
    EXPECT_TRUE(deliveredBecomes("4"));
    EXPECT_EQ(stateOf("pollRecordsPending"), "26");

    ASSERT_EQ(HM_OpenCommPort(kPort, kBaudIndex57600, 8, 0, 1), 1);
    for (int number = pollOnce('A'); number > 0; number = pollOnce('A')) {
        received.push_back(number);
    }
    ASSERT_EQ(received.size(), 30u);
    for (int n = 1; n <= 30; ++n) EXPECT_EQ(received[static_cast<std::size_t>(n - 1)], n);
}

TEST_F(PollReadAhead, AnotherRequestInBetweenFindsTheTerminalWhereTheCallerStands) {
    startTerminals("A", 20);
    EXPECT_EQ(pollOnce('A'), 1);
    EXPECT_EQ(pollOnce('A'), 2);
    EXPECT_EQ(pollOnce('A'), 3);
    std::vector<char> text(2048, 0);
    EXPECT_EQ(HM_terminal_id(kPort, 'A', text.data()), ZELO_OK);
    EXPECT_EQ(stateOf("pollRecordsDelivered"), "3") << "told by the request's flag";
    for (int n = 4; n <= 20; ++n) EXPECT_EQ(pollOnce('A'), n);
    EXPECT_EQ(pollOnce('A'), 0);
}

TEST_F(PollReadAhead, ARecordTakenButNotAcknowledgedComesAgainAfterAnotherRequest) {
    TerminalConfig config = terminal('A');
    config.generatedRecords = 20;
    startLine({config}, {}, std::nullopt, /*open=*/false);
    const PendraHandle h = Pendra_Create();
    ASSERT_NE(Pendra_SetupEx(h, kPort, 'A', '1', 'N'), 0);
    const auto poll = [&] {
        char buf[128] = {};
        uint8_t n = 4;
        const int16_t result = Pendra_POLL(h, 'A', buf, &n);
        return result == 1 ? numberOf(buf) : -result;
    };
    EXPECT_EQ(poll(), 1);
    Pendra_ACK(h, 'A');
    EXPECT_EQ(poll(), 2);
    Pendra_ACK(h, 'A');    // more are held: this acknowledgement waits
    EXPECT_EQ(poll(), 3);  // handed out, never acknowledged
    char text[128] = {};
    uint8_t n = 0;
    EXPECT_EQ(Pendra_ESC_R(h, 'A', text, &n), 1);
    EXPECT_EQ(stateOf("pollRecordsDelivered"), "2") << "the waiting acknowledgement, not the third";
    EXPECT_EQ(poll(), 3) << "sent again, as a stop-and-wait terminal would";
    Pendra_ACK(h, 'A');
    EXPECT_EQ(poll(), 4);
    Pendra_ACK(h, 'A');
    Pendra_Destroy(h);
    EXPECT_TRUE(deliveredBecomes("4"));
}

TEST_F(PollReadAhead, NumberedRecordsAreLetGoOnlyThroughTheNumberStoredAndNeverComeTwice) {
    startTerminals("A", 20);
    ASSERT_EQ(HM_poll_stored('A', 0), ZELO_OK);
    // As the polling engine does: at the end of each batch the caller
    // reports what it stored.
    bool reporting = true;
    const auto numbered = [&reporting](int expected) {
        EXPECT_EQ(pollOnce('A'), expected);
        uint32_t number = 0;
        int32_t held = 0;
        EXPECT_EQ(HM_poll_number('A', &number, &held), ZELO_OK);
        if (reporting && number != 0 && held == 0) HM_poll_stored('A', number);
        return number;
    };
    // The first record goes stop-and-wait, unnumbered; the batches after it
    // are numbered, the terminal's count going on from it.
    EXPECT_EQ(numbered(1), 0u);
    reporting = false;
    for (int n = 2; n <= 6; ++n) EXPECT_EQ(numbered(n), static_cast<uint32_t>(n));
    reporting = true;
    // Acknowledged by HM_poll, yet not reported stored: the host goes (its
    // link closes) and the terminal still has 2 to 6.
    HM_CloseCommPort(kPort);
    EXPECT_EQ(stateOf("pollRecordsPending"), "19");
    // A new run that stored through 4 before it went: 5 comes next, and
    // the terminal lets 2 to 4 go on that request.
    ASSERT_EQ(HM_OpenCommPort(kPort, kBaudIndex57600, 8, 0, 1), 1);
    ASSERT_EQ(HM_poll_stored('A', 4), ZELO_OK);
    EXPECT_EQ(numbered(5), 5u);
    EXPECT_EQ(stateOf("pollRecordsPending"), "16");
    for (int n = 6; n <= 20; ++n) EXPECT_EQ(numbered(n), static_cast<uint32_t>(n));
    ASSERT_EQ(HM_poll_stored('A', 20), ZELO_OK);
    EXPECT_EQ(pollOnce('A'), 0);
    EXPECT_EQ(stateOf("pollRecordsPending"), "0");
}

// The caller's view through the link's own calls, with one protocol or the
// other: the same results, buffers and lengths, also for a record longer
// than the caller's buffer and one asked for again before its
// acknowledgement.
class PollCallsBothWays : public PollReadAhead {
protected:
    struct Call {
        int16_t result;
        uint8_t length;
        std::string buffer;  // all 128 bytes
        bool operator==(const Call&) const = default;
    };

    std::vector<Call> pollCalls(const char* protocol) {
        ::setenv("PENDRA_PROTOCOL", protocol, 1);
        TerminalConfig config = terminal('A');
        config.recordLength = 255;
        config.recordsFile = folder_ / "records.txt";
        WriteAll(config.recordsFile,
                 std::string(300, 'L') + "\nshort\n" + std::string(252, 'M') + "\nlast\n");
        startLine({config}, {}, std::nullopt, /*open=*/false);
        const PendraHandle h = Pendra_Create();
        EXPECT_NE(Pendra_SetupEx(h, kPort, 'A', '1', 'N'), 0);
        std::vector<Call> calls;
        const auto poll = [&] {
            Call call{};
            char buf[128];
            std::memset(buf, 0x55, sizeof buf);
            std::memset(buf, 0, 4);
            uint8_t n = 4;
            call.result = Pendra_POLL(h, 'A', buf, &n);
            call.length = n;
            call.buffer.assign(buf, sizeof buf);
            calls.push_back(call);
            return call.result;
        };
        for (int i = 0; i < 8; ++i) {
            if (poll() != 1) break;
            if (i == 1 || i == 3) poll();  // again before the acknowledgement
            Pendra_ACK(h, 'A');
        }
        Pendra_Destroy(h);
        ptyLine_.unplug();
        return calls;
    }
};

TEST_F(PollCallsBothWays, EachCallGivesWhatAVersionOneTerminalGives) {
    const std::vector<Call> batched = pollCalls("2");
    const std::vector<Call> stopAndWait = pollCalls("1");
    ASSERT_EQ(batched.size(), 8u);  // 6 records, 2 asked again, then no data
    EXPECT_TRUE(batched == stopAndWait);
    EXPECT_EQ(batched[0].length, 128) << "255 bytes, cut to the caller's 128";
    EXPECT_EQ(batched[0].buffer, std::string(128, 'L'));
    EXPECT_EQ(batched[3].buffer.substr(0, 8), std::string("short\r\n\0", 8));
    EXPECT_EQ(batched[3].length, 7);
    EXPECT_EQ(batched[7].result, 3);
}

}  // namespace
}  // namespace termsim::end_to_end
