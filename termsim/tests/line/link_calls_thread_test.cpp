// Every link call through libpendra, the line server and a pseudo-terminal.
#include <cstring>

#include "line_fixture.hpp"

namespace termsim::testing {
namespace {

using pendra::wire::Command;

class LinkCalls : public LineFixture {
protected:
    void SetUp() override {
        LineFixture::SetUp();
        startLine();
        openMainLink();
    }
};

TEST_F(LinkCalls, TextRequestRepliesFromTheThirdByteWithinOneHundredTwentyEightBytes) {
    char buf[256] = "Q";
    uint8_t n = 1;
    EXPECT_EQ(Pendra_DBG(link_, 'A', buf, &n), 1);
    EXPECT_STREQ(buf + 2, "echo:Q");
    EXPECT_EQ(buf[0], 'A');
    EXPECT_EQ(buf[1], 'Q');
    EXPECT_EQ(n, 8);

    // A long request whose echo would overflow a 128-byte buffer is cut.
    std::memset(buf, 'x', sizeof buf);
    n = 200;
    EXPECT_EQ(Pendra_DBG(link_, 'A', buf, &n), 1);
    EXPECT_EQ(n, 127);
    EXPECT_EQ(buf[127], 0);
    EXPECT_EQ(buf[128], 'x');  // never written past 128
}

TEST_F(LinkCalls, ReplyBufferCallsFillFromTheFirstByte) {
    char buf[128] = {};
    uint8_t n = 4;
    EXPECT_EQ(Pendra_POLL(link_, 'A', buf, &n), 1);
    EXPECT_STREQ(buf, "RECORD-1");
    EXPECT_EQ(n, 8);
    EXPECT_EQ(Pendra_ACK(link_, 'A'), 1);

    n = 128;
    EXPECT_EQ(Pendra_ESC_R(link_, 'A', buf, &n), 1);
    EXPECT_STREQ(buf, "SIM ID 1.0");
    n = 0;
    EXPECT_EQ(Pendra_ESC_I(link_, 'A', buf, &n), 9);

    std::strcpy(buf, "DATA.TXT");
    n = 8;
    EXPECT_EQ(Pendra_ESC_J(link_, 'A', buf, &n), 6);
    EXPECT_EQ(std::string(buf, n), "2048");
    std::strcpy(buf, "NONE.TXT");
    n = 8;
    EXPECT_EQ(Pendra_ESC_J(link_, 'A', buf, &n), 7);
}

TEST_F(LinkCalls, CommandsCarryTheirTextsAndArguments) {
    EXPECT_EQ(Pendra_ESC_A(link_, 'A'), 4);
    EXPECT_EQ(Pendra_ESC_H(link_, 'A'), 4);
    EXPECT_EQ(Pendra_ESC_0(link_, 'A',
                           "\\\x81"
                           "AB",
                           4),
              4);
    EXPECT_EQ(Pendra_ESC_5(link_, 'A', 'B'), 6);
    EXPECT_EQ(Pendra_ESC_5(link_, 'A', 'Z'), 7);
    EXPECT_EQ(Pendra_ESC_E(link_, 'A', "OLD.TXT", 7), 6);
    EXPECT_EQ(Pendra_ESC_X(link_, 'A', "RUN.EXE", 7), 6);
    EXPECT_EQ(Pendra_ESC_O(link_, 'A', "BOOT.EXE", 8), 4);
    EXPECT_EQ(Pendra_ESC_U(link_, 'A', "DATA.TXT[240]", 13), 4);
    EXPECT_EQ(Pendra_ESC_K(link_, 'A', 300), 4);
    EXPECT_EQ(Pendra_ESC_N(link_, 'A', '7'), 4);

    const auto seen = terminals_.seen();
    ASSERT_EQ(seen.size(), 11u);
    EXPECT_EQ(seen[2].payload,
              "\\\x81"
              "AB");
    EXPECT_EQ(seen[3].argument, 'B');
    EXPECT_EQ(seen[8].payload, "DATA.TXT[240]");
    EXPECT_EQ(seen[9].command, Command::Keypad);
    EXPECT_EQ(seen[9].argument, 300);
    EXPECT_EQ(seen[10].argument, '7');
}

TEST_F(LinkCalls, BadArgumentsAreRefusedWithoutSending) {
    EXPECT_EQ(Pendra_ESC_0(link_, 'A', "x", -1), 254);
    EXPECT_EQ(Pendra_ESC_E(link_, 'A', "x", 256), 254);
    EXPECT_EQ(Pendra_ESC_X(link_, 'A', nullptr, 3), 254);
    EXPECT_EQ(Pendra_DBG(link_, 'A', nullptr, nullptr), 254);
    EXPECT_EQ(Pendra_ESC_R(0, 'A', nullptr, nullptr), 254);
    EXPECT_TRUE(terminals_.seen().empty());
}

TEST_F(LinkCalls, DirectoryEntriesComeWithTheMoreFlag) {
    char work[512] = {};
    char entry[512] = {};
    uint8_t more = 9;
    EXPECT_EQ(Pendra_FindFirst(link_, 'A', work, entry, &more), 1);
    EXPECT_STREQ(entry, "ONE.TXT");
    EXPECT_EQ(more, 1);
    EXPECT_EQ(Pendra_FindNext(link_, 'A', work, entry, &more), 1);
    EXPECT_STREQ(entry, "TWO.TXT");
    EXPECT_EQ(more, 0);
}

TEST_F(LinkCalls, UploadPacketsHoldEveryByteValueAndAdvanceOnlyOnAck) {
    std::string data;
    for (int i = 0; i < 600; ++i) data.push_back(static_cast<char>(i % 256));
    terminals_.setUpload(data);

    ASSERT_EQ(Pendra_ESC_U(link_, 'A', "DATA.BIN", 8), 4);
    char buf[256];
    uint8_t n = 0;
    ASSERT_EQ(Pendra_ESC_Y(link_, 'A', buf, &n), 1);
    ASSERT_EQ(n, 255);
    // Asked again without an acknowledgement: the same packet.
    std::string first(buf, n);
    n = 0;
    ASSERT_EQ(Pendra_ESC_Y(link_, 'A', buf, &n), 1);
    EXPECT_EQ(std::string(buf, n), first);

    std::string received = first;
    Pendra_ACK(link_, 'A');
    for (;;) {
        n = 0;
        const int16_t result = Pendra_ESC_Y(link_, 'A', buf, &n);
        if (result == 3) break;
        ASSERT_EQ(result, 1);
        received.append(buf, n);
        Pendra_ACK(link_, 'A');
    }
    EXPECT_EQ(received, data);
}

}  // namespace
}  // namespace termsim::testing
