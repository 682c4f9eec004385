// The host side's small parts: line characters, port paths, modem answers.
#include <gtest/gtest.h>

#include <cstdlib>

#include "line_settings.hpp"
#include "modem_lines.hpp"
#include "port_path.hpp"

namespace pendra {
namespace {

TEST(LineSettings, SpeedCharactersCoverTheTableAndRefuseTheRest) {
    EXPECT_EQ(settingsFromCharacters('0', '1', 'N')->baud, 110);
    EXPECT_EQ(settingsFromCharacters('1', '1', 'N')->baud, 150);
    EXPECT_EQ(settingsFromCharacters('2', '1', 'N')->baud, 300);
    EXPECT_EQ(settingsFromCharacters('7', '1', 'N')->baud, 9600);
    EXPECT_EQ(settingsFromCharacters('9', '1', 'N')->baud, 38400);
    EXPECT_EQ(settingsFromCharacters('A', '1', 'N')->baud, 57600);
    EXPECT_FALSE(settingsFromCharacters('B', '1', 'N'));
    EXPECT_FALSE(settingsFromCharacters(7, '1', 'N'));
}

TEST(LineSettings, ParityAndStopCharactersIncludingTheirDefaults) {
    const auto even = settingsFromCharacters('7', '2', 'E');
    ASSERT_TRUE(even);
    EXPECT_EQ(even->parity, 'E');
    EXPECT_EQ(even->stopBits, 2);
    EXPECT_EQ(bitsPerCharacter(*even), 12);
    const auto fallback = settingsFromCharacters('7', '0', '0');
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->parity, 'N');
    EXPECT_EQ(fallback->stopBits, 1);
    EXPECT_FALSE(settingsFromCharacters('7', '3', 'N'));
    EXPECT_FALSE(settingsFromCharacters('7', '1', 'M'));
}

TEST(LineSettings, LineTimeRoundsUp) {
    platform::LineSettings settings;
    settings.baud = 9600;
    EXPECT_EQ(lineTime(settings, 960).count(), 1000);
    EXPECT_EQ(lineTime(settings, 1).count(), 2);  // 1.04 ms
}

TEST(PortPath, PortsFileLinesAreMatchedExactly) {
    const std::string text =
        "# simulator\n"
        "  1 = /dev/pts/3 \r\n"
        "11=/dev/ttyUSB0\n"
        "2=\n"
        "garbage line\n";
    EXPECT_EQ(pathFromPortsText(text, 1), "/dev/pts/3");
    EXPECT_EQ(pathFromPortsText(text, 11), "/dev/ttyUSB0");
    EXPECT_FALSE(pathFromPortsText(text, 2));
    EXPECT_FALSE(pathFromPortsText(text, 3));
    EXPECT_FALSE(pathFromPortsText(std::string(5000, 'x') + "=y\n", 1));
}

TEST(PortPath, EnvironmentOverridesTheDefaultAndPortsAreBounded) {
    std::string error;
    ::setenv("PENDRA_PORTS_FILE", "/nonexistent/pendra.ports", 1);
    ::unsetenv("PENDRA_PORT7");
    EXPECT_EQ(devicePathForPort(7, error), "/dev/ttyS6");
    ::setenv("PENDRA_PORT7", "/dev/ttyUSB1", 1);
    EXPECT_EQ(devicePathForPort(7, error), "/dev/ttyUSB1");
    ::unsetenv("PENDRA_PORT7");
    EXPECT_FALSE(devicePathForPort(0, error));
    EXPECT_FALSE(devicePathForPort(257, error));
    EXPECT_FALSE(error.empty());
}

TEST(ModemLines, ResultNumbersFitTheDialTable) {
    EXPECT_EQ(modemResultNumber("OK"), 1);
    EXPECT_EQ(modemResultNumber("CONNECT 9600"), 2);
    EXPECT_EQ(modemResultNumber("RING"), 3);
    EXPECT_EQ(modemResultNumber("NO CARRIER"), 4);
    EXPECT_EQ(modemResultNumber("ERROR"), 5);
    EXPECT_EQ(modemResultNumber("NO DIALTONE"), 6);
    EXPECT_EQ(modemResultNumber("BUSY"), 7);
    EXPECT_EQ(modemResultNumber("NO ANSWER"), 8);
    EXPECT_EQ(modemResultNumber("CARRIER 2400"), 9);
    EXPECT_EQ(modemResultNumber("ATDT123"), 0);
}

TEST(ModemLines, LinesAreSplitAtCrOrLfAndBounded) {
    ModemLineCollector lines;
    const std::string bytes = "ATZ\r\r\nOK\r\nCONN";
    lines.feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(lines.nextLine(), "ATZ");
    EXPECT_EQ(lines.nextLine(), "OK");
    EXPECT_FALSE(lines.nextLine());
    const std::string rest = "ECT\r" + std::string(600, 'x');
    lines.feed(reinterpret_cast<const uint8_t*>(rest.data()), rest.size());
    EXPECT_EQ(lines.nextLine(), "CONNECT");
    EXPECT_EQ(lines.nextLine()->size(), ModemLineCollector::kMaxLine);
}

}  // namespace
}  // namespace pendra
