#include "escaped_decoding.hpp"

#include <cstdint>

namespace pendra::wire {

namespace {

constexpr uint8_t kEscape = 0x5C;

bool isPlainByte(uint8_t b) { return (b >= 0x20 && b <= 0x9F && b != kEscape) || b == 0xDC; }

}  // namespace

std::optional<std::string> unescaped(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (b != kEscape) {
            if (!isPlainByte(b)) return std::nullopt;
            bytes += static_cast<char>(b);
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        const auto next = static_cast<uint8_t>(text[i]);
        if (next == kEscape) {
            bytes += static_cast<char>(kEscape);
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

}  // namespace pendra::wire
