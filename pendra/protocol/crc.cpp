#include "crc.hpp"

#include <array>

namespace pendra::wire {

namespace {

constexpr std::array<uint16_t, 256> makeCrc16Table() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t value = static_cast<uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit) {
            value = static_cast<uint16_t>((value & 0x8000) ? (value << 1) ^ 0x1021 : value << 1);
        }
        table[i] = value;
    }
    return table;
}

constexpr auto kCrc16Table = makeCrc16Table();

constexpr std::array<uint32_t, 256> makeCrc32Table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        table[i] = value;
    }
    return table;
}

constexpr auto kCrc32Table = makeCrc32Table();

}  // namespace

uint8_t crc8(const uint8_t* data, std::size_t length) {
    uint8_t crc = 0;
    for (std::size_t i = 0; i < length; ++i) {
        crc = static_cast<uint8_t>(crc ^ data[i]);
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
        }
    }
    return crc;
}

uint16_t crc16(const uint8_t* data, std::size_t length) {
    uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc = static_cast<uint16_t>((crc << 8) ^ kCrc16Table[((crc >> 8) ^ data[i]) & 0xFF]);
    }
    return crc;
}

uint32_t crc32(const uint8_t* data, std::size_t length, uint32_t crc) {
    uint32_t value = ~crc;
    for (std::size_t i = 0; i < length; ++i)
        value = kCrc32Table[(value ^ data[i]) & 0xFF] ^ (value >> 8);
    return ~value;
}

}  // namespace pendra::wire
