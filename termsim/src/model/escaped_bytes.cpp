#include "escaped_bytes.hpp"

#include <cstdint>

namespace termsim {

namespace {

constexpr char kEscape = '\\';

bool isPlainByte(std::uint8_t b) { return (b >= 0x20 && b <= 0x9F && b != 0x5C) || b == 0xDC; }

}  // namespace

std::optional<std::string> decodeEscaped(std::string_view escaped) {
    std::string bytes;
    bytes.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(escaped[i]);
        if (b != static_cast<std::uint8_t>(kEscape)) {
            if (!isPlainByte(b)) return std::nullopt;
            bytes += static_cast<char>(b);
            continue;
        }
        if (++i == escaped.size()) return std::nullopt;  // a lone backslash at the end
        const auto next = static_cast<std::uint8_t>(escaped[i]);
        if (next == 0x5C) {
            bytes += kEscape;
        } else if (next >= 0x80 && next <= 0x9F) {
            bytes += static_cast<char>(next & 0x7F);
        } else if (next >= 0x20 && next <= 0x7F) {
            bytes += static_cast<char>(next | 0x80);
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

}  // namespace termsim
