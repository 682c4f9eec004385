// Block checks of the wire protocol: a CRC-8 over each frame header, so that
// a false start of frame is rejected before its length is trusted, and a
// CRC-16 over the whole frame, so that line noise never passes as data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pendra::wire {

// CRC-8, polynomial 0x07, initial value 0 (CRC-8/SMBUS).
uint8_t crc8(const uint8_t* data, std::size_t length);

// CRC-16, polynomial 0x1021, initial value 0xFFFF, no reflection
// (CRC-16/CCITT-FALSE). Catches every burst of up to 16 bits.
uint16_t crc16(const uint8_t* data, std::size_t length);

// CRC-32 of IEEE 802.3 (reflected, polynomial 0xEDB88320, as zlib's crc32):
// the whole-file check of a download. Chains like zlib's: the CRC of a
// followed by b is crc32(b, crc32(a)); the CRC of nothing is 0.
uint32_t crc32(const uint8_t* data, std::size_t length, uint32_t crc = 0);

}  // namespace pendra::wire
