// Modem control: what the modem's answer reads as, the dial results, the
// collected text, and the stop flag.
#include <chrono>
#include <memory>
#include <string>

#include "library_fixture.hpp"

using fake_pendra::Fn;

namespace {

// The modem answers these lines, one per poll, the last with a result
// number so that the call ends once the modem falls silent.
void answerLines(std::initializer_list<const char*> lines) {
    std::size_t left = lines.size();
    for (const char* line : lines) {
        fake_pendra::Reply r;
        r.result = --left == 0 ? 1 : 0;
        r.bytes = line;
        fake_pendra::push(Fn::ModemEcho, r);
    }
}

std::string returnMessage() {
    char text[ZELO_MODEM_REPLY_SIZE];
    const int32_t copied = HC_modem_return_message(text);
    return copied == static_cast<int32_t>(std::string(text).size() + 1) ? text : "(bad count)";
}

}  // namespace

TEST_F(LibraryTest, ModemInitReadsTheAnswerByTheWordItBeginsWith) {
    const std::pair<const char*, int32_t> answers[] = {
        {"NO CARRIER", 3}, {"CONNECT 9600", 1}, {"OKAY", 0}, {"CARRIER", 40}, {"ok", 200}};
    for (auto [answer, number] : answers) {
        answerLines({answer});
        EXPECT_EQ(HC_modem_Init(1, "ATZ", 5000), number) << answer;
    }
    // An echoed command line comes first and matches no word.
    answerLines({"AT&F", "OK"});
    EXPECT_EQ(HC_modem_Init(1, "AT&F", 5000), 200);
    EXPECT_EQ(returnMessage(), "AT&F\nOK\n");
    EXPECT_EQ(fake_pendra::callsOf(Fn::ModemATCmd).back().request, "AT&F");

    answerLines({"OK"});
    EXPECT_EQ(HC_modem_Hangup(1, "+++ATH", 3000), 0);
    char text[ZELO_MODEM_REPLY_SIZE];
    EXPECT_EQ(HC_modem_return_message(text), 4);
    EXPECT_STREQ(text, "OK\n");
}

TEST_F(LibraryTest, ALongModemAnswerIsCutToTheReplyBufferWithItsZero) {
    const std::string line(60, 'L');
    answerLines({line.c_str(), line.c_str(), line.c_str()});
    EXPECT_EQ(HC_modem_Init(1, "ATI", 5000), 200);
    auto polls = fake_pendra::callsOf(Fn::ModemEcho);
    ASSERT_EQ(polls.size(), 3u);
    EXPECT_EQ(polls[1].arg1, 39) << "60 characters and a line feed taken from 100";
    EXPECT_EQ(polls[2].arg1, 0) << "the second line filled the buffer";

    auto text = std::make_unique<char[]>(ZELO_MODEM_REPLY_SIZE);  // exact, for AddressSanitizer
    EXPECT_EQ(HC_modem_return_message(text.get()), 100);
    EXPECT_EQ(std::string(text.get()), line + "\n" + line.substr(0, 38));
}

TEST_F(LibraryTest, DialReturnsTheModemsResultNumberTranslated) {
    fake_pendra::pushResults(Fn::ModemEcho, {9});
    EXPECT_EQ(HC_modem_Dial(1, "ATDT123", 30000), 40);

    // A silent modem: the call ends at the first check after the time-out,
    // at most one 500 ms wait beyond it, wherever the time-out falls between
    // two polls (scheduling slack on top).
    for (int32_t timeout : {1000, 1010}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(HC_modem_Dial(1, "ATDT123", timeout), 5);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(timeout));
        EXPECT_LT(took, std::chrono::milliseconds(timeout + 500 + 400)) << timeout;
    }
}

TEST_F(LibraryTest, ModemCallsWorkAgainAfterAStop) {
    // The program stops before every hang-up; the line must still be
    // dialled again afterwards.
    HM_stop_communication();
    answerLines({"OK"});
    EXPECT_EQ(HC_modem_Hangup(1, "+++ATH", 3000), 0);

    HM_stop_communication();
    fake_pendra::push(Fn::ModemEcho, {2, "CONNECT 9600", -1, 0});
    EXPECT_EQ(HC_modem_Dial(1, "ATDT123", 30000), 1);
    EXPECT_EQ(returnMessage(), "CONNECT 9600\n");
}
