// Deflate for the line (protocol version 3): a run of file bytes packed
// with the bytes before it in the same file as the preset dictionary, so
// that a short frame still compresses like a long stream, and each frame
// can be unpacked on its own once the bytes before it are held. Raw
// deflate (no zlib header or check): the whole file's CRC-32 is checked at
// its end anyway.
//
// Without zlib (the build option ZELO_COMPRESSION off) nothing is packed
// and nothing unpacks; the link then never offers version 3.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pendra::wire {

// The longest dictionary either side uses: deflate's window.
inline constexpr std::size_t kMaxDictionary = 32768;

bool packingAvailable();

// A quick look, without a dictionary: false for bytes that deflate cannot
// shrink by a tenth on their own (random or already compressed data),
// which then go raw.
bool mayPack(std::string_view bytes);

struct Packed {
    std::size_t rawLength = 0;  // bytes of the input it stands for
    std::string bytes;          // the deflate stream, at most the limit
};

// The longest prefix of `bytes` (at most `maxRaw`) whose deflate stream fits
// in `limit` bytes, with `dictionary` (its last kMaxDictionary bytes) before
// it; nullopt when no prefix packs into fewer bytes than it has, so the
// caller sends the bytes raw and never more than raw.
std::optional<Packed> packPrefix(std::string_view dictionary, std::string_view bytes,
                                 std::size_t limit, std::size_t maxRaw);

// Unpacks a deflate stream that must give exactly `rawLength` bytes and end
// there; nullopt for anything else (damaged, too long, too short), so a
// hostile frame costs at most `rawLength` bytes of memory.
std::optional<std::string> unpack(std::string_view dictionary, std::string_view packed,
                                  std::size_t rawLength);

// An upload packet packed (version 3), the payload of a reply to
// StreamPacked with the flag bit set:
//
//   raw length (1), bytes of the upload before the packet (4), dictionary
//   length d (2), the deflate stream of the packet after the d bytes
//   before it
//
// "Before the packet" counts from where the accepted upload or resume
// started, which is all the host holds: it refuses a packet whose count
// differs from what it handed out, rather than unpack it against a wrong
// dictionary.
struct PackedPacket {
    uint8_t rawLength = 0;
    uint32_t before = 0;
    uint16_t dictionaryLength = 0;
    std::string packed;
};
inline constexpr std::size_t kPackedPacketHeader = 7;

// The packed payload of `packet` after `history` (the upload's bytes before
// it, `before` of them in all), or nullopt when packing does not make it
// shorter.
std::optional<std::string> packPacket(std::string_view history, uint32_t before,
                                      std::string_view packet);
std::optional<PackedPacket> decodePackedPacket(std::string_view payload);

}  // namespace pendra::wire
