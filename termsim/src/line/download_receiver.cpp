#include "download_receiver.hpp"

#include "crc.hpp"
#include "download_messages.hpp"
#include "escaped_form.hpp"
#include "packed_bytes.hpp"

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
    // A frame's place in the file, and its bytes (raw, or packed to unpack
    // once it is known to be the next one).
    uint8_t epoch = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::string bytes;
    std::optional<wire::PackedData> packed;
    if (request.command == wire::Command::PackedData) {
        packed = wire::decodePackedData(request.payload);
        if (!packed) return held(kRefused, 0, 0);
        epoch = packed->epoch;
        offset = packed->offset;
        length = packed->rawLength;
    } else {
        auto frame = wire::decodeStreamData(request.payload);
        if (!frame) return held(kRefused, 0, 0);
        epoch = frame->epoch;
        offset = frame->offset;
        length = frame->bytes.size();
        bytes = std::move(frame->bytes);
    }
    const auto stored = terminals_.downloadLength(request.address);
    if (!stored) return held(kNoDownload, epoch, 0);
    if (offset > *stored) {
        // A frame before this one is missing: said once, and again only
        // when the host has gone back (a frame no further on arrives).
        const bool reported =
            gapAddress_ == request.address && gapAt_ == *stored && offset > gapTrigger_;
        gapAddress_ = request.address;
        gapAt_ = *stored;
        gapTrigger_ = offset;
        if (reported) return std::nullopt;
        return held(wire::kStreamMissing, epoch, *stored);
    }
    const std::uint64_t end = offset + length;
    if (end <= *stored) return held(wire::kStreamHeld, epoch, *stored);  // a repeat
    if (packed) {
        // The dictionary is the file's bytes before the frame, which the
        // terminal holds since the frame starts no further than its length.
        const auto file = terminals_.downloadedBytes(request.address);
        if (!file || file->size() < offset) return held(kRefused, epoch, *stored);
        const auto dictionary = std::string_view(*file).substr(
            static_cast<std::size_t>(offset) - packed->dictionaryLength, packed->dictionaryLength);
        auto unpacked = wire::unpack(dictionary, packed->packed, packed->rawLength);
        if (!unpacked) return held(kRefused, epoch, *stored);  // never stored as it came
        bytes = std::move(*unpacked);
    }
    // Takes what it does not hold yet; a frame is always the same bytes at
    // the same offset within a download, so the part held already agrees.
    const auto skip = static_cast<std::size_t>(*stored - offset);
    const uint8_t status = store(request, *stored, bytes.substr(skip));
    if (status != wire::kStreamHeld) return held(status, epoch, *stored);
    return held(wire::kStreamHeld, epoch, end);
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
