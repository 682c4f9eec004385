#include "packed_bytes.hpp"

#if ZELO_HAVE_ZLIB
#include <zlib.h>

#include <algorithm>
#include <memory>
#endif

namespace pendra::wire {

#if ZELO_HAVE_ZLIB

namespace {

// Raw deflate, the largest window, default level: the line is the slow part.
constexpr int kWindowBits = -15;
// The look at whether bytes pack at all: their first kilobyte, when there
// are enough of them to tell.
constexpr std::size_t kProbeBytes = 1024;
constexpr std::size_t kMinProbe = 64;

std::string_view lastOf(std::string_view dictionary) {
    return dictionary.size() > kMaxDictionary
               ? dictionary.substr(dictionary.size() - kMaxDictionary)
               : dictionary;
}

Bytef* bytesOf(std::string_view text) {
    // zlib's interface takes non-const input pointers; it never writes them.
    return reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
}

// The deflate stream of `bytes` after `dictionary`, or nullopt when it
// would be longer than `limit`.
// The probe's deflate: a small window and little memory, as it only has to
// tell text from noise.
struct Settings {
    int level = Z_DEFAULT_COMPRESSION;
    int windowBits = kWindowBits;
    int memLevel = 8;
};
constexpr Settings kProbe{Z_BEST_SPEED, -9, 1};

std::optional<std::string> deflateWith(std::string_view dictionary, std::string_view bytes,
                                       std::size_t limit, Settings settings = {}) {
    z_stream stream{};
    if (deflateInit2(&stream, settings.level, Z_DEFLATED, settings.windowBits, settings.memLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        return std::nullopt;
    }
    const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, deflateEnd);
    if (!dictionary.empty() && deflateSetDictionary(&stream, bytesOf(dictionary),
                                                    static_cast<uInt>(dictionary.size())) != Z_OK) {
        return std::nullopt;
    }
    std::string out(limit, '\0');
    stream.next_in = bytesOf(bytes);
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) return std::nullopt;  // did not fit
    out.resize(stream.total_out);
    return out;
}

}  // namespace

bool packingAvailable() { return true; }

bool mayPack(std::string_view bytes) {
    const std::string_view probe = bytes.substr(0, std::min(bytes.size(), kProbeBytes));
    if (probe.size() < kMinProbe) return true;  // too few to tell
    return deflateWith({}, probe, probe.size() * 9 / 10, kProbe).has_value();
}

std::optional<Packed> packPrefix(std::string_view dictionary, std::string_view bytes,
                                 std::size_t limit, std::size_t maxRaw) {
    dictionary = lastOf(dictionary);
    std::size_t length = std::min(bytes.size(), maxRaw);
    // Incompressible bytes go raw without paying for the dictionary's
    // setup on every frame.
    if (!mayPack(bytes.substr(0, length))) return std::nullopt;
    // A few tries, each cutting the prefix by the ratio the last one showed
    // (with a margin): near the longest prefix that fits is good enough, as
    // the next frame takes the rest.
    for (int attempt = 0; attempt < 8 && length > 0; ++attempt) {
        const std::string_view prefix = bytes.substr(0, length);
        // Deflate never grows data by more than a few bytes per 16 KiB block.
        const auto packed = deflateWith(dictionary, prefix, length + length / 1000 + 64);
        if (!packed) return std::nullopt;
        if (packed->size() <= limit) {
            if (packed->size() >= length) return std::nullopt;  // raw is no longer
            return Packed{length, *packed};
        }
        length = length * limit * 92 / (packed->size() * 100);
    }
    return std::nullopt;
}

std::optional<std::string> unpack(std::string_view dictionary, std::string_view packed,
                                  std::size_t rawLength) {
    dictionary = lastOf(dictionary);
    z_stream stream{};
    if (inflateInit2(&stream, kWindowBits) != Z_OK) return std::nullopt;
    const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, inflateEnd);
    if (!dictionary.empty() && inflateSetDictionary(&stream, bytesOf(dictionary),
                                                    static_cast<uInt>(dictionary.size())) != Z_OK) {
        return std::nullopt;
    }
    // One byte more than allowed, to tell "exactly" from "more".
    std::string out(rawLength + 1, '\0');
    stream.next_in = bytesOf(packed);
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (inflate(&stream, Z_FINISH) != Z_STREAM_END || stream.total_out != rawLength ||
        stream.avail_in != 0) {
        return std::nullopt;
    }
    out.resize(rawLength);
    return out;
}

#else

bool packingAvailable() { return false; }

bool mayPack(std::string_view) { return false; }

std::optional<Packed> packPrefix(std::string_view, std::string_view, std::size_t, std::size_t) {
    return std::nullopt;
}

std::optional<std::string> unpack(std::string_view, std::string_view, std::size_t) {
    return std::nullopt;
}

#endif

std::optional<std::string> packPacket(std::string_view history, uint32_t before,
                                      std::string_view packet) {
    if (packet.empty() || packet.size() > 255) return std::nullopt;
    const std::string_view dictionary =
        history.size() > kMaxDictionary ? history.substr(history.size() - kMaxDictionary) : history;
    if (packet.size() <= kPackedPacketHeader) return std::nullopt;
    const auto packed =
        packPrefix(dictionary, packet, packet.size() - kPackedPacketHeader - 1, packet.size());
    if (!packed || packed->rawLength != packet.size()) return std::nullopt;
    std::string payload(1, static_cast<char>(packet.size()));
    for (int i = 0; i < 4; ++i) payload += static_cast<char>((before >> (8 * i)) & 0xFF);
    payload += static_cast<char>(dictionary.size() & 0xFF);
    payload += static_cast<char>(dictionary.size() >> 8);
    payload += packed->bytes;
    return payload;
}

std::optional<PackedPacket> decodePackedPacket(std::string_view payload) {
    if (payload.size() < kPackedPacketHeader + 1) return std::nullopt;
    PackedPacket packet;
    packet.rawLength = static_cast<uint8_t>(payload[0]);
    for (int i = 3; i >= 0; --i) {
        packet.before = (packet.before << 8) | static_cast<uint8_t>(payload[1 + i]);
    }
    packet.dictionaryLength = static_cast<uint16_t>(static_cast<uint8_t>(payload[5]) |
                                                    (static_cast<uint8_t>(payload[6]) << 8));
    if (packet.rawLength == 0 || packet.dictionaryLength > kMaxDictionary ||
        packet.dictionaryLength > packet.before) {
        return std::nullopt;
    }
    packet.packed = std::string(payload.substr(kPackedPacketHeader));
    return packet;
}

}  // namespace pendra::wire
