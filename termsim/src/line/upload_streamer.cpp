#include "upload_streamer.hpp"

#include <algorithm>

#include "crc.hpp"
#include "frame.hpp"
#include "packed_bytes.hpp"

namespace termsim {

namespace {

constexpr uint8_t kPacket = 1;
constexpr uint8_t kEnd = 3;
constexpr uint8_t kRefused = 7;  // no upload open

// Every packet but a file's last is of this size: as much as a reply carries.
constexpr std::uint64_t kFullPacket = 255;

void appendLowFirst(std::string& to, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) to += static_cast<char>((value >> shift) & 0xFF);
}

}  // namespace

std::string UploadStreamer::endCheck() const {
    const auto upload = terminals_.uploadProgress(address_);
    if (!upload) return {};
    std::string check;
    const auto* bytes = reinterpret_cast<const uint8_t*>(upload->file.data());
    appendLowFirst(check, wire::crc32(bytes, upload->file.size()));
    appendLowFirst(check, static_cast<uint32_t>(upload->file.size()));
    return check;
}

void UploadStreamer::flipIfAimedAt(std::size_t ahead, std::string& packet) const {
    const auto upload = terminals_.uploadProgress(address_);
    if (!upload) return;
    const std::uint64_t start = upload->position + ahead * kFullPacket;
    if (*flipSentByte_ < start || *flipSentByte_ - start >= packet.size()) return;
    packet[static_cast<std::size_t>(*flipSentByte_ - start)] ^= 1;
}

void UploadStreamer::packInto(std::size_t ahead, wire::Reply& reply) const {
    if (!wire::mayPack(reply.payload)) return;  // spares fetching the dictionary
    const auto history = terminals_.uploadHistory(address_, ahead, wire::kMaxDictionary);
    if (!history) return;
    if (auto packed = wire::packPacket(history->bytes, static_cast<uint32_t>(history->sinceStart),
                                       reply.payload)) {
        reply.payload = std::move(*packed);
        reply.more = true;
    }
}

void UploadStreamer::request(char address, uint8_t serial, bool flag, uint8_t window, bool packed) {
    serial = static_cast<uint8_t>(serial & wire::kSerialMask);
    packed_ = packed;
    window_ = std::clamp<uint8_t>(window, 1, wire::kMaxUploadWindow);
    if (!streaming(address)) {
        active_ = true;
        address_ = address;
        base_ = next_ = sentEnd_ = serial;
        last_.reset();
        return;
    }
    if (flag) acknowledgeThrough(static_cast<uint8_t>((serial - 1) & wire::kSerialMask));
    if (distance(base_, serial) <= distance(base_, sentEnd_)) {
        next_ = serial;  // go back to the packet asked for
    } else {
        // Past anything sent, which a host that follows the protocol never
        // asks for: answer as stop-and-wait would, with the packet where the
        // terminal stands.
        base_ = next_ = sentEnd_ = serial;
        last_.reset();
    }
}

void UploadStreamer::acknowledge(uint8_t serial) {
    acknowledgeThrough(static_cast<uint8_t>(serial & wire::kSerialMask));
}

void UploadStreamer::acknowledgeThrough(uint8_t serial) {
    if (!active_ || distance(base_, serial) >= distance(base_, sentEnd_)) return;
    wire::Request packet;
    packet.command = wire::Command::NextPacket;
    packet.address = address_;
    wire::Request ack;
    ack.command = wire::Command::Ack;
    ack.address = address_;
    const uint8_t count = static_cast<uint8_t>(distance(base_, serial) + 1);
    for (uint8_t i = 0; i < count; ++i) {
        terminals_.handle(packet);
        terminals_.handle(ack);
    }
    const bool pastTheEnd = last_ && distance(base_, *last_) < count;
    base_ = static_cast<uint8_t>((serial + 1) & wire::kSerialMask);
    if (distance(base_, next_) > distance(base_, sentEnd_))
        next_ = base_;                // acknowledged beyond a go-back
    if (pastTheEnd) active_ = false;  // the end is acknowledged: nothing more to send
}

std::optional<std::pair<uint8_t, wire::Reply>> UploadStreamer::nextFrame() {
    if (!canSend()) return std::nullopt;
    wire::Reply reply;
    const auto packet = terminals_.uploadPacketAhead(address_, distance(base_, next_));
    if (!packet) {
        reply.status = kRefused;
        last_ = next_;
    } else if (packet->empty()) {
        reply.status = kEnd;
        reply.payload = endCheck();
        last_ = next_;
    } else {
        reply.status = kPacket;
        reply.payload = *packet;
        if (flipSentByte_) flipIfAimedAt(distance(base_, next_), reply.payload);
        if (packed_) packInto(distance(base_, next_), reply);
    }
    const uint8_t serial = next_;
    next_ = static_cast<uint8_t>((next_ + 1) & wire::kSerialMask);
    if (distance(base_, next_) > distance(base_, sentEnd_)) sentEnd_ = next_;
    return std::make_pair(serial, std::move(reply));
}

}  // namespace termsim
