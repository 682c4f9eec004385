// The modem's answers to the command lines the host sends it.
#include "hayes_modem.hpp"

#include <gtest/gtest.h>

namespace termsim {
namespace {

using Lines = std::vector<std::string>;

TEST(HayesModemTest, SettingsCommandsAnswerOk) {
    HayesModem modem({});
    for (const char* line : {"AT", "ATZ", "AT&F", "ATE0V1Q0", "at x4 m1", "ATS0=0", "ATS7?",
                             "AT&C1&D2", "AT\\N3", "  AT  "}) {
        EXPECT_EQ(modem.command(line).lines, Lines{"OK"}) << line;
    }
    EXPECT_FALSE(modem.connected());
}

TEST(HayesModemTest, UnknownCommandsAnswerError) {
    HayesModem modem({});
    for (const char* line : {"", "HELLO", "A", "ATG", "AT&", "ATS=1", "ATS7", "ATDT", "ATDTabc"}) {
        EXPECT_EQ(modem.command(line).lines, Lines{"ERROR"}) << line;
    }
}

TEST(HayesModemTest, DialConnectsAtTheConfiguredSpeedAndHangsUp) {
    ModemConfig config;
    config.connectSpeed = 19200;
    HayesModem modem(config);
    const ModemAnswer dialled = modem.command("ATDT0312345678");
    EXPECT_EQ(dialled.lines, Lines{"CONNECT 19200"});
    EXPECT_TRUE(dialled.connected);
    EXPECT_EQ(modem.lastNumber(), "0312345678");

    const ModemAnswer hungUp = modem.command("+++ATH");
    EXPECT_EQ(hungUp.lines, Lines{"OK"});
    EXPECT_TRUE(hungUp.hungUp);
    EXPECT_FALSE(hungUp.connected);
    EXPECT_FALSE(modem.connected());
}

TEST(HayesModemTest, EscapeKeepsTheCallUntilHangUp) {
    HayesModem modem({});
    EXPECT_TRUE(modem.command("ATDP 03-1234,5").connected);
    const ModemAnswer escaped = modem.command("+++");
    EXPECT_EQ(escaped.lines, Lines{"OK"});
    EXPECT_FALSE(escaped.connected);  // command mode: no frames
    EXPECT_TRUE(modem.connected());   // but the call stands
    const ModemAnswer online = modem.command("ATO");
    EXPECT_EQ(online.lines, Lines{"CONNECT 9600"});
    EXPECT_TRUE(online.connected);

    EXPECT_TRUE(modem.command("ATH0").hungUp);
    EXPECT_FALSE(modem.connected());
    EXPECT_EQ(modem.command("ATO").lines, Lines{"NO CARRIER"});
}

TEST(HayesModemTest, DialResultsFollowTheConfiguredSequence) {
    ModemConfig config;
    config.dialResults = {"BUSY", "NO DIALTONE", "CONNECT"};
    HayesModem modem(config);
    EXPECT_EQ(modem.command("ATDT1").lines, Lines{"BUSY"});
    EXPECT_EQ(modem.command("ATDT1").lines, Lines{"NO DIALTONE"});
    EXPECT_EQ(modem.command("ATDT1").lines, Lines{"CONNECT 9600"});
    EXPECT_EQ(modem.command("ATDT1").lines, Lines{"CONNECT 9600"});  // the last one stays
    EXPECT_EQ(modem.dials(), 4);
}

TEST(HayesModemTest, EchoWhenSwitchedOn) {
    HayesModem modem({});
    EXPECT_EQ(modem.command("ATE1").lines, Lines{"OK"});
    EXPECT_EQ(modem.command("AT").lines, (Lines{"AT", "OK"}));
    EXPECT_EQ(modem.command("ATZ").lines, (Lines{"ATZ", "OK"}));  // reset to the configured echo
    EXPECT_EQ(modem.command("AT").lines, Lines{"OK"});
}

TEST(HayesModemTest, AmpersandDIsNotADial) {
    HayesModem modem({});
    EXPECT_EQ(modem.command("AT&D2DT123").lines, Lines{"CONNECT 9600"});
}

}  // namespace
}  // namespace termsim
