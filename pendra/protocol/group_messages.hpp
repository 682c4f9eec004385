// The payloads of a group download (protocol version 3): one file sent once
// to several terminals on the line, then repaired for each. Numbers go low
// byte first.
//
//   join (JoinGroup)             group (1)
//   its acceptance (status 4)    group (1)
//   group frame (GroupData)      as StreamData, the group in place of the epoch
//   packed (GroupPacked)         as PackedData, the group in place of the epoch
//   lack question (Lacking)      group (1), the file's length (4)
//   its answer (status 4)        group (1), prefix held (4), bytes held in all
//                                (4), then up to kMaxLackRanges ranges the
//                                terminal lacks: offset (4), length (4) each
//
// Group frames go to kGroupAddress, which no terminal has, or to one
// member's own address; no terminal ever answers them, so a shared line
// carries no colliding replies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pendra::wire {

// Terminal addresses are 'A' to 'Y' and '0' to '6'.
inline constexpr char kGroupAddress = '*';

inline constexpr std::size_t kLackHeader = 9;
inline constexpr std::size_t kLackRangeBytes = 8;
// As many ranges as one reply holds; the next question asks again.
inline constexpr std::size_t kMaxLackRanges = 30;

struct ByteRange {
    uint32_t offset = 0;
    uint32_t length = 0;
    uint64_t end() const { return uint64_t{offset} + length; }
};

struct LackQuestion {
    uint8_t group = 0;
    uint32_t length = 0;  // of the whole file
};

struct Lack {
    uint8_t group = 0;
    uint32_t prefix = 0;             // the file's bytes held from its start, without a gap
    uint32_t held = 0;               // bytes held in all, the prefix and what lies past gaps
    std::vector<ByteRange> missing;  // ascending, apart, none before the prefix
};

std::string encodeJoin(uint8_t group);
std::optional<uint8_t> decodeJoin(std::string_view payload);

std::string encodeLackQuestion(const LackQuestion& question);
std::optional<LackQuestion> decodeLackQuestion(std::string_view payload);

// nullopt for anything but the form above: ranges empty, out of order,
// overlapping, before the prefix or past 4 GiB, more than kMaxLackRanges,
// or fewer bytes held than the prefix.
std::string encodeLack(const Lack& lack);
std::optional<Lack> decodeLack(std::string_view payload);

}  // namespace pendra::wire
