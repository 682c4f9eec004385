// The modem's command mode through Pendra_ModemATCmd and Pendra_ModemEcho.
#include <cstring>
#include <string>
#include <vector>

#include "line_fixture.hpp"

namespace termsim::testing {
namespace {

struct EchoLine {
    int16_t number;
    std::string text;
};

// Collects answer lines until one carries a result number (or ~2 s pass).
std::vector<EchoLine> answersUntilResult(PendraHandle h) {
    std::vector<EchoLine> lines;
    for (int poll = 0; poll < 100; ++poll) {
        char buf[100] = {};
        const int16_t number = Pendra_ModemEcho(h, buf, sizeof buf);
        if (buf[0] != 0) lines.push_back({number, buf});
        if (number != 0) break;
    }
    return lines;
}

class ModemPassThrough : public LineFixture {
protected:
    void SetUp() override {
        LineFixture::SetUp();
        terminals_.setModem(true);
        startLine();
        openMainLink();
    }
};

TEST_F(ModemPassThrough, CommandsAnswerOkThenConnectCarriesFramesThenEscapeHangsUp) {
    Pendra_ModemATCmd(link_, "ATZ");
    auto lines = answersUntilResult(link_);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "ATZ");
    EXPECT_EQ(lines[0].number, 0);
    EXPECT_EQ(lines[1].text, "OK");
    EXPECT_EQ(lines[1].number, 1);

    Pendra_ModemATCmd(link_, "ATDT5551234");
    lines = answersUntilResult(link_);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "CONNECT 9600");
    EXPECT_EQ(lines[0].number, 2);

    char buf[128] = {};
    uint8_t n = 128;
    EXPECT_EQ(Pendra_ESC_R(link_, 'A', buf, &n), 1);

    Pendra_ModemATCmd(link_, "+++ATH");
    lines = answersUntilResult(link_);  // the escape's OK
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().number, 1);
    lines = answersUntilResult(link_);  // the hang-up's OK
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().number, 1);
    EXPECT_EQ(terminals_.modemLines(), (std::vector<std::string>{"ATZ", "ATDT5551234", "ATH"}));
}

TEST_F(ModemPassThrough, EchoStaysWithinTheRoomGiven) {
    Pendra_ModemATCmd(link_, "ATDT5551234");
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    int16_t number = 0;
    for (int poll = 0; poll < 100 && number == 0; ++poll) number = Pendra_ModemEcho(link_, buf, 4);
    EXPECT_EQ(number, 2);
    EXPECT_STREQ(buf, "CON");
    EXPECT_EQ(buf[4], 'x');
    EXPECT_EQ(Pendra_ModemEcho(link_, buf, 0), 0);
}

}  // namespace
}  // namespace termsim::testing
