// The link over a line that damages, drops, delays and refuses frames.
#include <chrono>
#include <cstring>
#include <random>

#include "line_fixture.hpp"

namespace termsim::testing {
namespace {

using Clock = std::chrono::steady_clock;

class LinkFaults : public LineFixture {};

TEST_F(LinkFaults, ReplyFailingItsCheckIs253) {
    LineOptions options;
    options.faults.corrupt = 1.0;
    startLine(options);
    openMainLink();
    char buf[128] = {};
    uint8_t n = 128;
    EXPECT_EQ(Pendra_ESC_R(link_, 'A', buf, &n), 253);
    EXPECT_EQ(n, 128);  // the caller's buffer is left alone
}

TEST_F(LinkFaults, DamagedRequestIsAnsweredWithNak) {
    LineOptions options;
    options.faults.nak = 1.0;
    startLine(options);
    openMainLink();
    EXPECT_EQ(Pendra_ESC_A(link_, 'A'), 5);
    EXPECT_TRUE(terminals_.seen().empty());                       // never acted on
    EXPECT_EQ(ptyLine_.server().counters().requests.load(), 3u);  // sent again twice
}

TEST_F(LinkFaults, SilenceTimesOutWithinTheDocumentedBound) {
    startLine();
    openMainLink();
    // Three sendings, each waiting at 57600 baud the allowance + 2 x
    // (8-byte request), about 303 ms; the upper bound leaves room for a
    // loaded machine under ThreadSanitizer.
    const auto start = Clock::now();
    EXPECT_EQ(Pendra_ESC_A(link_, 'S'), 130);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(3 * kAnswerAllowanceMs));
    EXPECT_LT(took, std::chrono::milliseconds(15000));
    EXPECT_EQ(terminals_.seen().size(), 3u);
}

TEST_F(LinkFaults, RetransmissionsCanBeSwitchedOff) {
    ::setenv("PENDRA_RETRANSMISSIONS", "0", 1);
    startLine();
    openMainLink();
    EXPECT_EQ(Pendra_ESC_A(link_, 'S'), 130);
    EXPECT_EQ(terminals_.seen().size(), 1u);
}

// Lost and damaged replies are made good by sending the request again; the
// terminal acts once per request and every call gets its own reply.
TEST_F(LinkFaults, LostOrDamagedRepliesAreFetchedAgainWithoutActingTwice) {
    LineOptions options;
    options.faults.silent = 0.2;
    options.faults.corrupt = 0.15;
    options.faults.seed = 7;
    startLine(options);
    openMainLink();
    int failed = 0;
    for (int i = 0; i < 30; ++i) {
        const std::string text = "T" + std::to_string(i);
        char buf[128] = {};
        std::memcpy(buf, text.data(), text.size());
        uint8_t n = static_cast<uint8_t>(text.size());
        const int16_t result = Pendra_DBG(link_, 'A', buf, &n);
        if (result != 1) {
            EXPECT_TRUE(result == 130 || result == 253) << result;
            ++failed;
            continue;
        }
        EXPECT_EQ(std::string(buf + 2), "echo:" + text);
        Pendra_ACK(link_, 'A');
    }
    EXPECT_LE(failed, 3);  // all three sendings must fail: about 4 % of calls
    std::size_t acted = 0;
    for (const auto& request : terminals_.seen()) {
        if (request.command == pendra::wire::Command::Text) ++acted;
    }
    EXPECT_EQ(acted, 30u);
    EXPECT_GT(ptyLine_.server().counters().replayed.load(), 3u);
}

// A reply that comes after the wait for it ended is still the reply to the
// same request sent again.
TEST_F(LinkFaults, LateReplyAnswersTheRepeatOfItsRequest) {
    LineOptions options;
    options.faults.late = 1.0;
    options.faults.lateBy = std::chrono::milliseconds(kAnswerAllowanceMs + 200);
    startLine(options);
    openMainLink();
    char buf[128] = {};
    uint8_t n = 128;
    EXPECT_EQ(Pendra_ESC_R(link_, 'A', buf, &n), 1);
    EXPECT_STREQ(buf, "SIM ID 1.0");
}

TEST_F(LinkFaults, LateReplyIsNotTakenForTheNextOne) {
    ::setenv("PENDRA_RETRANSMISSIONS", "0", 1);
    LineOptions options;
    options.faults.late = 1.0;
    options.faults.lateBy = std::chrono::milliseconds(kAnswerAllowanceMs + 200);
    startLine(options);
    openMainLink();
    char buf[128] = {};
    uint8_t n = 128;
    EXPECT_EQ(Pendra_ESC_R(link_, 'A', buf, &n), 130);
    // The late reply to the identity request arrives during this one.
    n = 4;
    EXPECT_EQ(Pendra_POLL(link_, 'A', buf, &n), 130);
    EXPECT_STRNE(buf, "SIM ID 1.0");
}

// The simulator's long line: a request and its reply each take the delay on
// top of their line time, and the terminal its think time in between.
TEST_F(LinkFaults, DelayAndThinkTimeLengthenTheTurnaround) {
    ::setenv("PENDRA_ANSWER_MS", "3000", 1);
    LineOptions options;
    options.oneWayDelay = std::chrono::milliseconds(100);
    options.think = std::chrono::milliseconds(50);
    startLine(options);
    openMainLink();
    for (int i = 0; i < 2; ++i) {
        const auto start = Clock::now();
        EXPECT_EQ(Pendra_ESC_A(link_, 'A'), 4);
        const auto took = Clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(250));
        EXPECT_LT(took, std::chrono::milliseconds(2500));
        Pendra_ACK(link_, 'A');
    }
}

// Every transfer ends byte-identical: a retry after a lost or damaged reply
// never skips or repeats a packet, a lost Ack never repeats one.
TEST_F(LinkFaults, UploadAndDownloadStayExactOnAFaultyLine) {
    std::mt19937 random(5);
    std::string data;
    for (int i = 0; i < 4000; ++i) data.push_back(static_cast<char>(random() & 0xFF));
    terminals_.setUpload(data, 200);
    LineOptions options;
    options.faults.drop = 0.08;
    options.faults.silent = 0.08;
    options.faults.corrupt = 0.08;
    options.faults.nak = 0.05;
    options.faults.seed = 11;
    startLine(options);
    openMainLink();

    int attempts = 0;
    while (Pendra_ESC_U(link_, 'A', "DATA.BIN", 8) != 4) ASSERT_LT(++attempts, 20);
    std::string uploaded;
    for (attempts = 0; attempts < 400; ++attempts) {
        char buf[256];
        uint8_t n = 1;
        buf[0] = 'Y';
        const int16_t result = Pendra_ESC_Y(link_, 'A', buf, &n);
        if (result == 3) break;
        if (result != 1) continue;  // asked again, as the command library does
        uploaded.append(buf, n);
        Pendra_ACK(link_, 'A');
    }
    EXPECT_EQ(uploaded, data);

    std::string sent;
    for (int packet = 0; packet < 12; ++packet) {
        std::string text = "Y" + std::string(100, static_cast<char>('a' + packet));
        sent += text.substr(1);
        for (attempts = 0;; ++attempts) {
            ASSERT_LT(attempts, 40);
            char buf[256] = {};
            std::memcpy(buf, text.data(), text.size());
            uint8_t n = static_cast<uint8_t>(text.size());
            if (Pendra_DBG(link_, 'A', buf, &n) == 4) break;
        }
        Pendra_ACK(link_, 'A');
    }
    EXPECT_EQ(terminals_.downloaded(), sent);
    // The run went through the paths that keep it exact.
    EXPECT_GT(ptyLine_.server().counters().faults.load(), 10u);
    EXPECT_GT(ptyLine_.server().counters().replayed.load(), 0u);
    EXPECT_GT(ptyLine_.server().counters().recoveredAcks.load(), 0u);
}

}  // namespace
}  // namespace termsim::testing
