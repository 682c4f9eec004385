// The terminal's side of a streamed upload against a terminal that counts
// what it was told: packets go ahead within the window, the terminal moves
// on only for acknowledged ones, a packet asked for again is sent again.
#include "upload_streamer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace termsim {
namespace {

using pendra::wire::Command;

// A file of 10-byte packets "P0........", "P1........"; `position` counts
// the packets the streamer acknowledged to it.
class CountingTerminal : public TerminalLine {
public:
    explicit CountingTerminal(int packets) : packets_(packets) {}

    std::optional<pendra::wire::Reply> handle(const pendra::wire::Request& request) override {
        if (request.command == Command::NextPacket) handedOut_ = position_ < packets_;
        if (request.command == Command::Ack && handedOut_) {
            ++position_;
            handedOut_ = false;
        }
        return std::nullopt;
    }
    bool hasModem() const override { return false; }
    ModemAnswer modemCommand(const std::string&) override { return {}; }
    std::optional<std::string> uploadPacketAhead(char, std::size_t ahead) override {
        const int index = position_ + static_cast<int>(ahead);
        if (index >= packets_) return std::string();
        return "P" + std::to_string(index) + std::string(8, '.');
    }

    int position() const { return position_; }

private:
    int packets_;
    int position_ = 0;
    bool handedOut_ = false;
};

// Serial and first two bytes of each frame the streamer has to send now.
std::vector<std::string> drain(UploadStreamer& streamer) {
    std::vector<std::string> sent;
    while (auto frame = streamer.nextFrame()) {
        sent.push_back(std::to_string(frame->first) + ":" +
                       (frame->second.status == 3 ? "end" : frame->second.payload.substr(0, 2)));
    }
    return sent;
}

TEST(UploadStreamer, SendsAWindowAheadAndMovesOnOnlyForAcknowledgedPackets) {
    CountingTerminal terminal(10);
    UploadStreamer streamer(terminal);
    streamer.request('A', 126, false, 3);
    EXPECT_EQ(drain(streamer), (std::vector<std::string>{"126:P0", "127:P1", "0:P2"}));
    EXPECT_EQ(terminal.position(), 0);
    streamer.acknowledge(127);  // cumulative, across the serials' wrap
    EXPECT_EQ(terminal.position(), 2);
    EXPECT_EQ(drain(streamer), (std::vector<std::string>{"1:P3", "2:P4"}));
    streamer.acknowledge(5);  // never sent: ignored
    EXPECT_EQ(terminal.position(), 2);
}

TEST(UploadStreamer, PacketAskedForAgainIsSentAgainFromThere) {
    CountingTerminal terminal(10);
    UploadStreamer streamer(terminal);
    streamer.request('A', 10, false, 4);
    drain(streamer);  // 10..13
    // 11 was lost; the request's flag acknowledges 10.
    streamer.request('A', 11, true, 4);
    EXPECT_EQ(terminal.position(), 1);
    EXPECT_EQ(drain(streamer), (std::vector<std::string>{"11:P1", "12:P2", "13:P3", "14:P4"}));
}

// The host may hand out and acknowledge packets it held from before the
// go-back while the terminal has not sent them again yet: they count.
TEST(UploadStreamer, AcknowledgementBeyondAGoBackStillCounts) {
    CountingTerminal terminal(10);
    UploadStreamer streamer(terminal);
    streamer.request('A', 10, false, 4);
    drain(streamer);                     // 10..13
    streamer.request('A', 11, true, 1);  // go back, window of 1: resends 11 only
    EXPECT_EQ(drain(streamer), std::vector<std::string>{"11:P1"});
    streamer.acknowledge(13);  // 12 and 13 came from the first sending
    EXPECT_EQ(terminal.position(), 4);
    streamer.request('A', 14, true, 2);
    EXPECT_EQ(drain(streamer), (std::vector<std::string>{"14:P4", "15:P5"}));
}

TEST(UploadStreamer, EndIsSentOnceAndItsAcknowledgementEndsTheStream) {
    CountingTerminal terminal(2);
    UploadStreamer streamer(terminal);
    streamer.request('A', 0, false, 8);
    EXPECT_EQ(drain(streamer), (std::vector<std::string>{"0:P0", "1:P1", "2:end"}));
    streamer.acknowledge(2);
    EXPECT_EQ(terminal.position(), 2);
    EXPECT_FALSE(streamer.streaming('A'));
    EXPECT_TRUE(drain(streamer).empty());
}

TEST(UploadStreamer, AnotherRequestEndsTheStreamWhereTheHostStands) {
    CountingTerminal terminal(10);
    UploadStreamer streamer(terminal);
    streamer.request('A', 40, false, 5);
    drain(streamer);
    streamer.acknowledge(41);
    streamer.end();  // a cancel or a resume: the terminal is at packet 2
    EXPECT_EQ(terminal.position(), 2);
    EXPECT_TRUE(drain(streamer).empty());
    streamer.acknowledge(44);  // what was in flight no longer counts
    EXPECT_EQ(terminal.position(), 2);
}

}  // namespace
}  // namespace termsim
