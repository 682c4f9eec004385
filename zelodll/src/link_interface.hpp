// What every command needs to talk to the link layer: the handle, and a
// request buffer of a fixed size with its one-byte length.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "library_state.hpp"
#include "pendra.h"

namespace zelo {

inline PendraHandle linkHandle() { return state().link; }

// A zeroed request buffer of N bytes. The request text it holds is always
// zero-terminated within it, so at most N - 1 characters fit.
template <std::size_t N>
struct RequestBuffer {
    static_assert(N <= 256, "the length travels in one byte");
    std::array<char, N> bytes{};
    uint8_t length = 0;

    // Sets the request to `prefix` followed by `text`. False, leaving the
    // buffer empty, when the two do not fit.
    bool assign(std::string_view prefix, std::string_view text = {}) {
        bytes.fill(0);
        length = 0;
        if (prefix.size() + text.size() > N - 1) return false;
        // An empty view may hold a null pointer, which memcpy must not see.
        if (!prefix.empty()) std::memcpy(bytes.data(), prefix.data(), prefix.size());
        if (!text.empty()) std::memcpy(bytes.data() + prefix.size(), text.data(), text.size());
        length = static_cast<uint8_t>(prefix.size() + text.size());
        return true;
    }

    char* data() { return bytes.data(); }
    uint8_t* lengthByte() { return &length; }

    // The one-character answer some replies carry in their third byte (upload
    // mode, program area, system font). Terminals give it either as a small
    // byte value or as its digit character; both read the same.
    int replyCode() const {
        const auto code = static_cast<uint8_t>(bytes[2]);
        return code >= '0' && code <= '9' ? code - '0' : code;
    }

    // A reply's text from byte `from` on, never read past the buffer's end.
    std::string_view replyText(std::size_t from = 2) const {
        if (from >= N) return {};
        const char* start = bytes.data() + from;
        const void* end = std::memchr(start, 0, N - from);
        return {start,
                end ? static_cast<std::size_t>(static_cast<const char*>(end) - start) : N - from};
    }
};

// Length of a caller's zero-terminated text, looking no further than `limit`
// bytes; returns limit + 1 when the text is longer, so callers can refuse it.
inline std::size_t boundedLength(const char* text, std::size_t limit) {
    if (text == nullptr) return 0;
    std::size_t length = 0;
    while (length <= limit && text[length] != 0) ++length;
    return length;
}

}  // namespace zelo
