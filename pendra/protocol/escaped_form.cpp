#include "escaped_form.hpp"

namespace zelo {

void appendEscaped(std::string_view bytes, std::string& out) {
    constexpr char kEscape = '\\';
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (b < 0x20) {
            out += kEscape;
            out += static_cast<char>(b | 0x80);
        } else if (b == 0x5C) {
            out += kEscape;
            out += kEscape;
        } else if (b <= 0x9F || b == 0xDC) {
            out += c;
        } else {
            out += kEscape;
            out += static_cast<char>(b & 0x7F);
        }
    }
}

std::string escaped(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    appendEscaped(bytes, out);
    return out;
}

}  // namespace zelo
