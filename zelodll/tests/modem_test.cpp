// Modem control through the fake link layer: what the modem's answer reads
// as, the dial results, the collected text, and the stop flag.
#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "library_fixture.hpp"

using fake_pendra::Fn;

namespace {

using Clock = std::chrono::steady_clock;

long long millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace

class ModemTest : public LibraryTest {
protected:
    // The modem answers these lines, one per poll, the last with a result
    // number so that the call ends once the modem falls silent.
    static void answerLines(std::initializer_list<std::string> lines) {
        std::size_t left = lines.size();
        for (const std::string& line : lines)
            fake_pendra::push(Fn::ModemEcho, reply(--left == 0 ? 1 : 0, line));
    }

    static std::string returnMessage() {
        char text[ZELO_MODEM_REPLY_SIZE];
        const int32_t copied = HC_modem_return_message(text);
        EXPECT_EQ(copied, static_cast<int32_t>(std::strlen(text) + 1));
        return text;
    }
};

TEST_F(ModemTest, InitReadsTheAnswerByTheWordItBeginsWith) {
    const std::pair<const char*, int32_t> answers[] = {
        {"OK", 0},         {"OKAY", 0},     {"CONNECT 9600", 1}, {"RING", 2},
        {"NO CARRIER", 3}, {"ERROR", 4},    {"NO DIALTONE", 6},  {"BUSY", 7},
        {"NO ANSWER", 8},  {"DELAYED", 24}, {"BLACKLISTED", 32}, {"FAX", 33},
        {"DATA", 35},      {"CARRIER", 40}, {"ATZ", 200},        {"ok", 200},
    };
    for (auto [answer, number] : answers) {
        answerLines({answer});
        EXPECT_EQ(HC_modem_Init(1, "ATZ", 5000), number) << answer;
    }
    EXPECT_EQ(fake_pendra::callsOf(Fn::ModemATCmd).at(0).request, "ATZ");
}

TEST_F(ModemTest, AnEchoedCommandLineComesFirstAndMatchesNoWord) {
    answerLines({"AT&F", "OK"});
    EXPECT_EQ(HC_modem_Init(1, "AT&F", 5000), 200);
    EXPECT_EQ(returnMessage(), "AT&F\nOK\n");
}

TEST_F(ModemTest, ReturnMessageCopiesTheLinesWithTheirLineFeeds) {
    char text[ZELO_MODEM_REPLY_SIZE];
    EXPECT_EQ(HC_modem_return_message(text), 1) << "empty at load";
    EXPECT_STREQ(text, "");

    answerLines({"OK"});
    EXPECT_EQ(HC_modem_Hangup(1, "+++ATH", 3000), 0);
    EXPECT_EQ(HC_modem_return_message(text), 4);
    EXPECT_STREQ(text, "OK\n");
}

TEST_F(ModemTest, InitWithoutAnAnswerWaitsForTheTimeOut) {
    const auto start = Clock::now();
    EXPECT_EQ(HC_modem_Init(1, "ATZ", 30), 200);
    const long long took = millisecondsSince(start);
    EXPECT_GE(took, 29);  // counted in whole ticks of a millisecond
    EXPECT_LT(took, 3000);
    EXPECT_EQ(returnMessage(), "");
}

TEST_F(ModemTest, ALongAnswerIsCutToTheReplyBufferWithItsZero) {
    const std::string line(60, 'L');
    fake_pendra::push(Fn::ModemEcho, reply(0, line));
    fake_pendra::push(Fn::ModemEcho, reply(0, line));
    fake_pendra::push(Fn::ModemEcho, reply(1, line));
    EXPECT_EQ(HC_modem_Init(1, "ATI", 5000), 200);

    auto polls = fake_pendra::callsOf(Fn::ModemEcho);
    ASSERT_GE(polls.size(), 3u);
    EXPECT_EQ(polls[0].arg1, 100);
    EXPECT_EQ(polls[1].arg1, 39) << "60 characters and a line feed taken";
    EXPECT_EQ(polls[2].arg1, 0) << "the buffer is full";

    auto text = std::make_unique<char[]>(ZELO_MODEM_REPLY_SIZE);  // exact, for AddressSanitizer
    EXPECT_EQ(HC_modem_return_message(text.get()), 100);
    EXPECT_EQ(std::string(text.get()), line + "\n" + line.substr(0, 38));
}

TEST_F(ModemTest, DialReturnsTheModemsLastResultNumberTranslated) {
    const std::pair<int16_t, int32_t> results[] = {{2, 1}, {9, 40}, {1, 0}, {11, 200}};
    for (auto [modemResult, returned] : results) {
        fake_pendra::push(Fn::ModemEcho, reply(modemResult));
        EXPECT_EQ(HC_modem_Dial(1, "ATDT123", 30000), returned) << modemResult;
    }
    EXPECT_EQ(fake_pendra::callsOf(Fn::ModemATCmd).at(0).request, "ATDT123");
}

TEST_F(ModemTest, DialWithoutAnAnswerEndsOneWaitAfterTheTimeOut) {
    // Polls come one wait apart, so the one that finds a 1000 ms time-out
    // passed comes just after it; the wait that follows every poll is the
    // only time beyond. (Scheduling slack on top.)
    const auto start = Clock::now();
    EXPECT_EQ(HC_modem_Dial(1, "ATDT123", 1000), 5);
    const long long took = millisecondsSince(start);
    EXPECT_GE(took, 1000);
    EXPECT_LT(took, 1000 + 500 + 400);
}

TEST_F(ModemTest, ModemCallsStartAfreshAfterAStop) {
    // The program stops before every hang-up; the line must still be
    // dialled again afterwards.
    HM_stop_communication();
    answerLines({"OK"});
    EXPECT_EQ(HC_modem_Hangup(1, "+++ATH", 3000), 0);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ModemATCmd).at(0).request, "+++ATH");

    HM_stop_communication();
    answerLines({"OK"});
    EXPECT_EQ(HC_modem_Init(1, "ATZ", 1000), 0);

    HM_stop_communication();
    fake_pendra::push(Fn::ModemEcho, reply(2, "CONNECT 9600"));
    EXPECT_EQ(HC_modem_Dial(1, "ATDT123", 30000), 1);
    EXPECT_EQ(returnMessage(), "CONNECT 9600\n") << "a dial's answer is kept too";
}

TEST_F(ModemTest, DoNothingFunctionsSendNothing) {
    EXPECT_EQ(HC_getch(1), 0);
    HC_putch(1, 'x');
    EXPECT_EQ(HC_modem_cmd_mode(1, 0), 0);
    EXPECT_EQ(HC_modem_cmd(1, 'A', "ATZ"), 0);
    EXPECT_TRUE(fake_pendra::calls().empty());
}
