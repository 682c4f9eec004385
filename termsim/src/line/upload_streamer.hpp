// The terminal's side of a streamed upload (protocol version 2): after a
// stream request the packets go out under consecutive serials, as far as
// the host's window reaches past the last packet it acknowledged. The
// terminal itself moves on only for acknowledged packets: each one is
// handed out and acknowledged to it just as in a stop-and-wait exchange, so
// a stop, a cancel or a resume finds it at the host's position. The end
// carries the whole file's CRC-32 and length, for the host to check.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "terminal_line.hpp"
#include "wire_message.hpp"

namespace termsim {

namespace wire = pendra::wire;

class UploadStreamer {
public:
    // `flipSentByte`: a test aid; the byte at that offset of every streamed
    // upload goes out with its lowest bit flipped, as failing memory would
    // send it, while the check at the end is of the file as it is.
    explicit UploadStreamer(TerminalLine& terminals,
                            std::optional<std::uint64_t> flipSentByte = std::nullopt)
        : terminals_(terminals), flipSentByte_(flipSentByte) {}

    bool streaming(char address) const { return active_ && address_ == address; }
    char address() const { return address_; }
    // Whether nextFrame() has a frame now.
    bool canSend() const {
        return active_ && distance(base_, next_) < window_ &&
               distance(base_, next_) < wire::kMaxUploadWindow &&
               !(last_ && distance(base_, next_) > distance(base_, *last_));
    }

    // Any request to the terminal other than a stream request or an Ack
    // frame ends the stream; nothing more is sent ahead.
    void end() { active_ = false; }

    // A stream request under `serial`; `flag` acknowledges the packet
    // before it. Sending (again) starts at `serial`: a packet asked for is
    // one the host did not get.
    // `packed`: the host takes packets packed (version 3).
    void request(char address, uint8_t serial, bool flag, uint8_t window, bool packed = false);
    // The command the stream answers under.
    pendra::wire::Command command() const {
        return packed_ ? pendra::wire::Command::StreamPacked : pendra::wire::Command::StreamPackets;
    }

    // An Ack frame: acknowledges every packet up to `serial`.
    void acknowledge(uint8_t serial);

    // The next frame to send while the window allows: its serial and reply.
    std::optional<std::pair<uint8_t, pendra::wire::Reply>> nextFrame();

private:
    // Hands out and acknowledges, one by one, the packets from the first
    // unacknowledged through `serial`, when that is one already sent.
    void acknowledgeThrough(uint8_t serial);
    static uint8_t distance(uint8_t from, uint8_t to) {
        return static_cast<uint8_t>((to - from) & 0x7F);
    }

    // The end's payload: CRC-32 and length of the whole file, 4 bytes each,
    // low byte first; empty when the terminal has no upload open.
    std::string endCheck() const;
    void flipIfAimedAt(std::size_t ahead, std::string& packet) const;
    // The packet `ahead` packets past the position, packed when that makes
    // it shorter: the reply's payload and flag.
    void packInto(std::size_t ahead, wire::Reply& reply) const;

    TerminalLine& terminals_;
    std::optional<std::uint64_t> flipSentByte_;
    bool active_ = false;
    bool packed_ = false;
    char address_ = 0;
    uint8_t base_ = 0;             // serial of the first packet not acknowledged
    uint8_t next_ = 0;             // serial of the next packet to send
    uint8_t sentEnd_ = 0;          // serial after the furthest packet sent (a go-back leaves it)
    uint8_t window_ = 1;           // packets past base_ that may be sent
    std::optional<uint8_t> last_;  // serial of the end (or refusal), once sent
};

}  // namespace termsim
