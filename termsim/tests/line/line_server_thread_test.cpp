// The line server seen from a bare pseudo-terminal client: garbage never
// starts an action, and a frame after it is served.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <random>

#include "frame.hpp"
#include "line_fixture.hpp"
#include "message_codec.hpp"

namespace termsim::testing {
namespace {

namespace wire = pendra::wire;

class LineServerClient : public LineFixture {
protected:
    void SetUp() override {
        LineFixture::SetUp();
        startLine();
        fd_ = ::open(ptyLine_.slavePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd_, 0);
        termios mode{};
        ASSERT_EQ(::tcgetattr(fd_, &mode), 0);
        ::cfmakeraw(&mode);
        mode.c_cc[VMIN] = 0;
        mode.c_cc[VTIME] = 20;  // reads give up after 2 s
        ASSERT_EQ(::tcsetattr(fd_, TCSANOW, &mode), 0);
    }
    void TearDown() override {
        if (fd_ >= 0) ::close(fd_);
        LineFixture::TearDown();
    }

    void send(const std::string& bytes) {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    std::optional<wire::Frame> receiveReply() {
        wire::FrameDecoder decoder;
        char buffer[512];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0) return std::nullopt;
            decoder.feed(reinterpret_cast<const uint8_t*>(buffer), static_cast<std::size_t>(got));
            if (auto event = decoder.next()) return event->frame;
        }
    }

    int fd_ = -1;
};

TEST_F(LineServerClient, GarbageIsSkippedAndTheFrameAfterItServed) {
    std::mt19937 random(3);
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage.push_back(static_cast<char>(random() & 0xFF));
    // Sync bytes followed by nonsense, and a request whose header is broken.
    garbage += "\xA5\x41\x52";
    std::string broken =
        wire::encodeFrame(*wire::requestFrame({wire::Command::ColdStart, 'A', 0, ""}, 1));
    broken[2] = 'A';  // the header check no longer matches: a warm start must not happen
    garbage += broken;

    const auto request = wire::requestFrame({wire::Command::TerminalId, 'A', 0, ""}, 9);
    send(garbage + wire::encodeFrame(*request));
    const auto reply = receiveReply();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 1);
    EXPECT_EQ(reply->command, 'R');
    EXPECT_EQ(reply->tag & wire::kSerialMask, 9);
    EXPECT_EQ(reply->payload, "SIM ID 1.0");

    const auto seen = terminals_.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].command, wire::Command::TerminalId);
}

TEST_F(LineServerClient, DamagedRequestIsNakedOnlyAtAnAddressThatAnswers) {
    std::string damaged =
        wire::encodeFrame(*wire::requestFrame({wire::Command::Data, 'A', 0, "DATA"}, 4));
    damaged[7] ^= 0x01;
    send(damaged);
    auto reply = receiveReply();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 5);
    EXPECT_EQ(reply->tag & wire::kSerialMask, 4);

    std::string elsewhere =
        wire::encodeFrame(*wire::requestFrame({wire::Command::Data, 'Q', 0, "DATA"}, 4));
    elsewhere[7] ^= 0x01;
    send(elsewhere +
         wire::encodeFrame(*wire::requestFrame({wire::Command::WarmStart, 'A', 0, ""}, 5)));
    reply = receiveReply();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->command, 'A');  // the warm start's reply, no NAK before it
    EXPECT_EQ(terminals_.seen().size(), 1u);
}

}  // namespace
}  // namespace termsim::testing
