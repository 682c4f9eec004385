// The payloads of a streamed download (protocol version 2). Numbers go low
// byte first.
//
//   data frame (StreamData)      epoch (1), offset (4), the file's bytes
//   acknowledgement (its reply)  epoch (1), bytes the terminal holds (4)
//   checked end (CheckedEnd)     CRC-32 of the file (4), its length (4)
//   packed frame (PackedData)    epoch (1), offset (4), bytes it stands for
//                                (2), dictionary length d (2), the deflate
//                                stream of those bytes after the d file
//                                bytes before the offset (packed_bytes.hpp)
//
// The epoch tells one stream of a download from the one before it, so an
// acknowledgement from before a resume never counts for the stream after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pendra::wire {

inline constexpr std::size_t kStreamDataHeader = 5;
// File bytes in one data frame: what a frame's payload leaves after the header.
inline constexpr std::size_t kStreamDataBytes = 255 - kStreamDataHeader;

// Statuses of the terminal's reply to a data frame; anything else is a
// refusal that ends the download's stream.
inline constexpr uint8_t kStreamHeld = 4;     // holds the bytes reported
inline constexpr uint8_t kStreamMissing = 3;  // a frame before this one is missing

struct StreamData {
    uint8_t epoch = 0;
    uint32_t offset = 0;  // of the first byte in the file
    std::string bytes;    // at most kStreamDataBytes
};

inline constexpr std::size_t kPackedDataHeader = 9;
inline constexpr std::size_t kPackedDataBytes = 255 - kPackedDataHeader;
// File bytes one packed frame may stand for: bounds what a frame can make
// the terminal unpack.
inline constexpr std::size_t kMaxPackedRaw = 8192;

struct PackedData {
    uint8_t epoch = 0;
    uint32_t offset = 0;
    uint16_t rawLength = 0;         // 1 to kMaxPackedRaw
    uint16_t dictionaryLength = 0;  // at most kMaxDictionary, at most offset
    std::string packed;
};

struct StreamHeld {
    uint8_t epoch = 0;
    uint32_t stored = 0;
};

struct EndCheck {
    uint32_t crc = 0;
    uint32_t length = 0;
};

std::string encodeStreamData(uint8_t epoch, uint32_t offset, std::string_view bytes);
std::optional<StreamData> decodeStreamData(std::string_view payload);

std::string encodePackedData(const PackedData& data);
std::optional<PackedData> decodePackedData(std::string_view payload);

std::string encodeStreamHeld(const StreamHeld& held);
std::optional<StreamHeld> decodeStreamHeld(std::string_view payload);

std::string encodeEndCheck(const EndCheck& check);
std::optional<EndCheck> decodeEndCheck(std::string_view payload);

}  // namespace pendra::wire
