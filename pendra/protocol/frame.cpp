#include "frame.hpp"

#include "crc.hpp"

namespace pendra::wire {

namespace {

// Unread bytes kept at most: a frame in progress and the largest read a
// caller makes (1024 bytes), with room to spare. More than that can only be
// garbage that nobody reads, and is dropped from the front; a smaller bound
// would drop the front of a frame in progress when a full read lands
// behind it.
constexpr std::size_t kMaxBuffered = 8 * kMaxFrameSize;

const uint8_t* bytesOf(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

bool isSync(uint8_t byte) { return byte == kRequestSync || byte == kReplySync; }

}  // namespace

std::string encodeFrame(const Frame& frame) {
    if (frame.payload.size() > kMaxPayload) return {};
    const bool reply = frame.direction == Direction::Reply;
    std::string bytes;
    bytes.reserve(frameSize(frame.direction, frame.payload.size()));
    bytes.push_back(static_cast<char>(reply ? kReplySync : kRequestSync));
    bytes.push_back(static_cast<char>(frame.address));
    bytes.push_back(static_cast<char>(frame.command));
    if (reply) bytes.push_back(static_cast<char>(frame.status));
    bytes.push_back(static_cast<char>(frame.tag));
    bytes.push_back(static_cast<char>(frame.payload.size()));
    bytes.push_back(static_cast<char>(crc8(bytesOf(bytes), bytes.size())));
    bytes += frame.payload;
    const uint16_t check = crc16(bytesOf(bytes), bytes.size());
    bytes.push_back(static_cast<char>(check >> 8));
    bytes.push_back(static_cast<char>(check & 0xFF));
    return bytes;
}

void FrameDecoder::feed(const uint8_t* data, std::size_t length) {
    if (start_ > 0) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(reinterpret_cast<const char*>(data), length);
    if (buffer_.size() > kMaxBuffered) buffer_.erase(0, buffer_.size() - kMaxBuffered);
}

std::optional<FrameDecoder::Event> FrameDecoder::next() {
    missing_ = 0;
    const uint8_t* bytes = bytesOf(buffer_);
    while (start_ < buffer_.size()) {
        if (!isSync(bytes[start_])) {
            ++start_;
            continue;
        }
        const Direction direction =
            bytes[start_] == kRequestSync ? Direction::Request : Direction::Reply;
        const std::size_t size = headerSize(direction);
        const std::size_t available = buffer_.size() - start_;
        if (available < size) return std::nullopt;
        const uint8_t* header = bytes + start_;
        if (crc8(header, size - 1) != header[size - 1]) {
            ++start_;
            continue;
        }
        const std::size_t payloadSize = header[size - 2];
        const std::size_t total = frameSize(direction, payloadSize);
        if (available < total) {
            missing_ = total - available;
            return std::nullopt;
        }
        Event event;
        event.frame.direction = direction;
        event.frame.address = header[1];
        event.frame.command = header[2];
        event.frame.status = direction == Direction::Reply ? header[3] : 0;
        event.frame.tag = header[size - 3];
        const uint16_t check = crc16(header, total - kCheckSize);
        const uint16_t carried =
            static_cast<uint16_t>((header[total - 2] << 8) | header[total - 1]);
        if (check != carried) {
            // The header may itself be noise that happened to pass its check:
            // look for a frame from the next byte on.
            event.kind = Kind::Damaged;
            ++start_;
            return event;
        }
        event.kind = Kind::Complete;
        event.frame.payload.assign(reinterpret_cast<const char*>(header + size), payloadSize);
        start_ += total;
        return event;
    }
    return std::nullopt;
}

void FrameDecoder::clear() {
    buffer_.clear();
    start_ = 0;
    missing_ = 0;
}

}  // namespace pendra::wire
