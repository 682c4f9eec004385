#include "download_receiver.hpp"

#include "crc.hpp"
#include "download_messages.hpp"
#include "escaped_form.hpp"

namespace termsim {

namespace wire = pendra::wire;

namespace {

constexpr uint8_t kRefused = 7;
constexpr uint8_t kNoDownload = 128;  // as a data packet with no download open

}  // namespace

wire::Reply DownloadReceiver::held(uint8_t status, uint8_t epoch, std::uint64_t stored) const {
    wire::Reply reply;
    reply.status = status;
    reply.payload = wire::encodeStreamHeld({epoch, static_cast<uint32_t>(stored)});
    return reply;
}

uint8_t DownloadReceiver::store(const wire::Request& request, std::uint64_t offset,
                                std::string bytes) {
    if (flipStoredByte_ && *flipStoredByte_ >= offset && *flipStoredByte_ - offset < bytes.size()) {
        bytes[static_cast<std::size_t>(*flipStoredByte_ - offset)] ^= 1;
    }
    wire::Request packet;
    packet.command = wire::Command::Text;
    packet.address = request.address;
    packet.payload = "Y" + zelo::escaped(bytes);
    const auto answer = terminals_.handle(packet);
    return answer ? answer->status : kNoDownload;
}

std::optional<wire::Reply> DownloadReceiver::data(const wire::Request& request) {
    if (!terminals_.servesAddress(request.address)) return std::nullopt;
    const auto frame = wire::decodeStreamData(request.payload);
    if (!frame) return held(kRefused, 0, 0);
    const auto stored = terminals_.downloadLength(request.address);
    if (!stored) return held(kNoDownload, frame->epoch, 0);
    if (frame->offset > *stored) {
        // A frame before this one is missing: said once, and again only
        // when the host has gone back (a frame no further on arrives).
        const bool reported =
            gapAddress_ == request.address && gapAt_ == *stored && frame->offset > gapTrigger_;
        gapAddress_ = request.address;
        gapAt_ = *stored;
        gapTrigger_ = frame->offset;
        if (reported) return std::nullopt;
        return held(wire::kStreamMissing, frame->epoch, *stored);
    }
    const std::uint64_t end = frame->offset + frame->bytes.size();
    if (end <= *stored) return held(wire::kStreamHeld, frame->epoch, *stored);  // a repeat
    // Takes what it does not hold yet; a frame is always the same bytes at
    // the same offset within a download, so the part held already agrees.
    const auto skip = static_cast<std::size_t>(*stored - frame->offset);
    const uint8_t status = store(request, *stored, frame->bytes.substr(skip));
    if (status != wire::kStreamHeld) return held(status, frame->epoch, *stored);
    return held(wire::kStreamHeld, frame->epoch, end);
}

std::optional<wire::Reply> DownloadReceiver::end(const wire::Request& request) {
    if (!terminals_.servesAddress(request.address)) return std::nullopt;
    gapAt_.reset();
    const auto check = wire::decodeEndCheck(request.payload);
    const auto bytes = terminals_.downloadedBytes(request.address);
    wire::Request text;
    text.command = wire::Command::Text;
    text.address = request.address;
    const bool matches =
        check && bytes && bytes->size() == check->length &&
        wire::crc32(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()) == check->crc;
    if (!bytes || matches) {
        text.payload = "Z";  // no download open: answered as the end request would be
        return terminals_.handle(text);
    }
    // What the terminal holds is not the file the host sent: dropped.
    text.payload = "z";
    terminals_.handle(text);
    wire::Reply refused;
    refused.status = kRefused;
    return refused;
}

}  // namespace termsim
