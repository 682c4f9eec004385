// How a terminal played on the fake line reads what the library sends it: the
// name and resume offset of an upload or download request ("name[offset]"),
// and the escaped bytes of a data packet. One reading for every test that
// plays a terminal, so that they all take the library's requests alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fake_pendra {

struct NamedRequest {
    std::string name;
    std::optional<std::size_t> offset;  // set for a resume request
};

// "DATA.TXT[384]" -> DATA.TXT from byte 384; "DATA.TXT" -> DATA.TXT, no offset.
inline NamedRequest splitResume(const std::string& text) {
    const auto open = text.rfind('[');
    if (open == std::string::npos || text.back() != ']') return {text, std::nullopt};
    return {text.substr(0, open), std::stoul(text.substr(open + 1, text.size() - open - 2))};
}

// A data packet's bytes as they were before the library escaped them: a
// backslash stands before a byte with its top bit flipped (bytes below 0x80
// stand for bytes from 0x80, and the other way round), or before a second
// backslash.
inline std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<uint8_t>(text[i]);
        if (byte == 0x5C && i + 1 < text.size()) {
            const auto next = static_cast<uint8_t>(text[++i]);
            byte = next == 0x5C ? next : (next >= 0x80 ? next & 0x7F : next | 0x80);
        }
        out += static_cast<char>(byte);
    }
    return out;
}

}  // namespace fake_pendra
