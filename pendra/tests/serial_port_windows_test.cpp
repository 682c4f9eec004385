// The Windows serial driver. The device tests need a COM port whose other
// end echoes: the Wine stage maps one to a pseudo-terminal held by
// line_peer and names it in ZELO_TEST_PORT. The peer answers ENQ (0x05)
// with the line's speed, parity and stop bits as the device sees them.
#include "platform/serial_port_windows.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "serial_port.hpp"

namespace pendra::platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(WindowsDevicePath, BareComNamesGetTheDevicePrefixAtAnyNumber) {
    EXPECT_EQ(windowsDevicePath("COM1"), "\\\\.\\COM1");
    EXPECT_EQ(windowsDevicePath("COM12"), "\\\\.\\COM12");
    EXPECT_EQ(windowsDevicePath("com256"), "\\\\.\\com256");
    EXPECT_EQ(defaultDevicePath(17), "\\\\.\\COM17");
    // Anything else is the user's own path and stays as given.
    EXPECT_EQ(windowsDevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
    EXPECT_EQ(windowsDevicePath("COM0"), "COM0");
    EXPECT_EQ(windowsDevicePath("COMX"), "COMX");
    EXPECT_EQ(windowsDevicePath("COM1234"), "COM1234");
    EXPECT_EQ(windowsDevicePath("C:\\ports\\COM1"), "C:\\ports\\COM1");
}

TEST(WindowsOpenErrors, SystemErrorsBecomeTheSameReasonsAsOnPosix) {
    EXPECT_EQ(openFailureFromError(2), OpenFailure::NoSuchDevice);  // file not found
    EXPECT_EQ(openFailureFromError(3), OpenFailure::NoSuchDevice);  // path not found
    EXPECT_EQ(openFailureFromError(5), OpenFailure::InUse);         // access denied
    EXPECT_EQ(openFailureFromError(32), OpenFailure::InUse);        // sharing violation
    EXPECT_EQ(openFailureFromError(31), OpenFailure::Other);        // a general failure
}

TEST(WindowsSerialPort, AMissingPortIsNoSuchDevice) {
    const OpenResult opened = openSerialPort("COM231", LineSettings{});
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_EQ(opened.failure, OpenFailure::NoSuchDevice);
    EXPECT_EQ(opened.error, "COM231: no such device");
}

TEST(WindowsSerialPort, AFileIsNotASerialDevice) {
    const OpenResult opened = openSerialPort("C:\\windows\\win.ini", LineSettings{});
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_EQ(opened.failure, OpenFailure::NotSerialDevice);
    EXPECT_EQ(opened.error, "C:\\windows\\win.ini: not a serial device");
}

class EchoLine : public ::testing::Test {
protected:
    void SetUp() override {
        const char* named = std::getenv("ZELO_TEST_PORT");
        if (named == nullptr || named[0] == 0) {
            GTEST_SKIP() << "ZELO_TEST_PORT names no echoing COM port";
        }
        path_ = named;
    }

    std::unique_ptr<SerialPort> open(const LineSettings& settings) {
        OpenResult opened = openSerialPort(path_, settings);
        EXPECT_NE(opened.port, nullptr) << opened.error;
        return std::move(opened.port);
    }

    // Reads until `count` bytes came or two seconds passed.
    static std::string readAtLeast(SerialPort& port, std::size_t count) {
        std::string got;
        const auto deadline = Clock::now() + milliseconds(2000);
        while (got.size() < count && Clock::now() < deadline) {
            uint8_t buffer[512];
            std::size_t received = 0;
            if (port.read(buffer, sizeof buffer, 100, received) == ReadStatus::Failed) break;
            got.append(reinterpret_cast<const char*>(buffer), received);
        }
        return got;
    }

    static std::string lineAsSeen(SerialPort& port) {
        const uint8_t enquiry = 0x05;
        EXPECT_TRUE(port.write(&enquiry, 1, 1000));
        std::string answer = readAtLeast(port, 1);
        const auto deadline = Clock::now() + milliseconds(2000);
        while (answer.find('\n') == std::string::npos && Clock::now() < deadline) {
            answer += readAtLeast(port, 1);
        }
        if (!answer.empty() && answer.back() == '\n') answer.pop_back();
        return answer;
    }

    std::string path_;
};

TEST_F(EchoLine, SpeedAndStopBitsReachTheDevice) {
    // A pseudo-terminal drops the parity bit from its settings, so the
    // peer always sees N there; speed and stop bits come through.
    {
        auto port = open(LineSettings{19200, 'E', 2});
        ASSERT_NE(port, nullptr);
        EXPECT_EQ(lineAsSeen(*port), "19200 N 2");
    }
    auto port = open(LineSettings{57600, 'O', 1});
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(lineAsSeen(*port), "57600 N 1");
}

TEST_F(EchoLine, EveryByteValueGoesThroughUnchanged) {
    auto port = open(LineSettings{9600, 'N', 1});
    ASSERT_NE(port, nullptr);
    // Binary frames: NUL, XON/XOFF, CR and bytes with the top bit set must
    // not be translated or swallowed. ENQ is the peer's own question.
    std::string sent;
    for (int round = 0; round < 8; ++round) {
        for (int value = 0; value < 256; ++value) {
            if (value != 0x05) sent.push_back(static_cast<char>(value));
        }
    }
    ASSERT_TRUE(port->write(reinterpret_cast<const uint8_t*>(sent.data()), sent.size(), 5000));
    ASSERT_TRUE(port->drain());
    EXPECT_EQ(readAtLeast(*port, sent.size()), sent);
}

TEST_F(EchoLine, ReadsWaitTheirBoundAndNoLonger) {
    auto port = open(LineSettings{9600, 'N', 1});
    ASSERT_NE(port, nullptr);
    uint8_t buffer[16];
    std::size_t received = 99;
    auto start = Clock::now();
    EXPECT_EQ(port->read(buffer, sizeof buffer, 0, received), ReadStatus::TimedOut);
    EXPECT_EQ(received, 0U);
    EXPECT_LT(Clock::now() - start, milliseconds(500));

    start = Clock::now();
    EXPECT_EQ(port->read(buffer, sizeof buffer, 300, received), ReadStatus::TimedOut);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, milliseconds(250));
    EXPECT_LT(waited, milliseconds(3000));

    // A byte that arrives ends the wait at once, long before its bound.
    const uint8_t one = 'x';
    ASSERT_TRUE(port->write(&one, 1, 1000));
    start = Clock::now();
    EXPECT_EQ(port->read(buffer, sizeof buffer, 10'000, received), ReadStatus::Data);
    EXPECT_EQ(received, 1U);
    EXPECT_LT(Clock::now() - start, milliseconds(5000));
}

TEST_F(EchoLine, DiscardDropsWhatArrivedUnread) {
    auto port = open(LineSettings{9600, 'N', 1});
    ASSERT_NE(port, nullptr);
    const std::string stale = "stale bytes";
    ASSERT_TRUE(port->write(reinterpret_cast<const uint8_t*>(stale.data()), stale.size(), 1000));
    ASSERT_TRUE(port->drain());
    // Let the echo come back into the input queue, then drop it.
    std::this_thread::sleep_for(milliseconds(300));
    port->discardInput();
    const uint8_t mark = '!';
    ASSERT_TRUE(port->write(&mark, 1, 1000));
    EXPECT_EQ(readAtLeast(*port, 1), "!");
}

TEST_F(EchoLine, ASecondOpenIsRefusedAsInUseUntilTheFirstCloses) {
    auto first = open(LineSettings{9600, 'N', 1});
    ASSERT_NE(first, nullptr);
    const OpenResult second = openSerialPort(path_, LineSettings{9600, 'N', 1});
    EXPECT_EQ(second.port, nullptr);
    EXPECT_EQ(second.failure, OpenFailure::InUse);
    EXPECT_EQ(second.error, path_ + ": in use by another program");
    first.reset();
    EXPECT_NE(open(LineSettings{9600, 'N', 1}), nullptr);
}

TEST_F(EchoLine, AnUnknownSpeedIsRefused) {
    const OpenResult opened = openSerialPort(path_, LineSettings{12345, 'N', 1});
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_EQ(opened.failure, OpenFailure::SettingsRefused);
    EXPECT_NE(opened.error.find("unsupported speed 12345"), std::string::npos) << opened.error;
}

}  // namespace
}  // namespace pendra::platform
