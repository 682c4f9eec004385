// The frame that carries every message on the line, its encoder and an
// incremental decoder that finds frames in a byte stream holding garbage.
// Layout and rules: docs/wire-protocol.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pendra::wire {

enum class Direction : uint8_t { Request, Reply };

inline constexpr uint8_t kRequestSync = 0xA5;  // host to terminal
inline constexpr uint8_t kReplySync = 0x5A;    // terminal to host
// Request header: sync, address, command, tag, length, header check.
// Reply header: sync, address, command, status, tag, length, header check;
// the command answered is repeated so that a late reply to one request is
// never taken for the reply to another.
inline constexpr std::size_t kRequestHeaderSize = 6;
inline constexpr std::size_t kReplyHeaderSize = 7;
inline constexpr std::size_t kCheckSize = 2;  // CRC-16 at the end of the frame
inline constexpr std::size_t kMaxPayload = 255;
inline constexpr std::size_t kMaxFrameSize = kReplyHeaderSize + kMaxPayload + kCheckSize;

constexpr std::size_t headerSize(Direction direction) {
    return direction == Direction::Request ? kRequestHeaderSize : kReplyHeaderSize;
}
constexpr std::size_t frameSize(Direction direction, std::size_t payload) {
    return headerSize(direction) + payload + kCheckSize;
}

// The tag byte: a 7-bit serial number of the exchange and one flag bit,
// "previous reply acknowledged" in requests and "more follows" in replies.
inline constexpr uint8_t kSerialMask = 0x7F;
inline constexpr uint8_t kTagFlag = 0x80;

struct Frame {
    Direction direction = Direction::Request;
    uint8_t address = 0;
    uint8_t command = 0;  // the request's command; in a reply, the command answered
    uint8_t status = 0;   // replies only
    uint8_t tag = 0;
    std::string payload;  // at most kMaxPayload bytes, any values

    bool operator==(const Frame&) const = default;
};

// The frame's bytes; empty when the payload is longer than kMaxPayload.
std::string encodeFrame(const Frame& frame);

// Finds frames in the bytes fed to it. Bytes before a valid header are
// skipped one at a time, so a frame that follows garbage, or that starts
// inside a damaged frame, is still found.
class FrameDecoder {
public:
    enum class Kind {
        Complete,  // the frame passed both checks
        Damaged,   // the header passed its check, the frame's CRC-16 did not
    };
    struct Event {
        Kind kind = Kind::Complete;
        Frame frame;  // for a damaged frame the header fields, no payload
    };

    void feed(const uint8_t* data, std::size_t length);
    void feed(const std::string& bytes) {
        feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    // The next frame found in the bytes fed so far, or nullopt when more
    // bytes are needed.
    std::optional<Event> next();

    // Bytes still missing from a frame whose valid header has arrived; 0
    // when none is in progress. Lets a reader stretch its wait to the time
    // the rest of the frame takes on the line.
    std::size_t missingBytes() const { return missing_; }

    void clear();

private:
    std::string buffer_;
    std::size_t start_ = 0;
    std::size_t missing_ = 0;
};

}  // namespace pendra::wire
