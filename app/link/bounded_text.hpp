#pragma once

#include <cstddef>
#include <cstring>
#include <string>

namespace zelo::link {

// The text a library call left in a fixed buffer, up to its zero or, when a
// reply fills the buffer without one, up to the buffer's end: never read
// past it.
inline std::string TextWithin(const char* buffer, std::size_t size) {
    const void* zero = std::memchr(buffer, '\0', size);
    const std::size_t length =
        zero == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(zero) - buffer);
    return std::string(buffer, length);
}

// The first `limit` characters of `text`: the most a fixed field holds.
inline std::string Truncated(const std::string& text, std::size_t limit) {
    return text.size() <= limit ? text : text.substr(0, limit);
}

}  // namespace zelo::link
