// Writing into the caller's output buffers. The library cannot see their
// size, so every write stays within the size the header documents for that
// buffer and always leaves a terminating zero inside it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "zelodll.h"

namespace zelo {

// Copies a reply text into a buffer of ZELO_REPLY_SIZE bytes: at most 127
// characters and a zero. Returns the number of characters copied; a null
// buffer receives nothing.
inline int32_t copyReplyOut(char* out, std::string_view text) {
    if (out == nullptr) return 0;
    const std::size_t length = std::min<std::size_t>(text.size(), ZELO_REPLY_SIZE - 1);
    if (length > 0) std::memcpy(out, text.data(), length);
    out[length] = 0;
    return static_cast<int32_t>(length);
}

// Stores a result through a caller's pointer; a null pointer receives
// nothing.
inline void storeThrough(int32_t* out, int32_t value) {
    if (out != nullptr) *out = value;
}

// Zeroes the first `count` bytes of a caller's buffer, so that a failed
// query hands back an empty text.
inline void clearLeadingBytes(char* out, std::size_t count) {
    if (out != nullptr) std::memset(out, 0, count);
}

// A directory listing built in a caller's buffer of `capacity` bytes.
// Texts are appended while they fit beside the terminating zero; one that
// does not fit is not written, and the listing ends there.
class ListingWriter {
public:
    ListingWriter(char* out, std::size_t capacity)
        : out_(out), capacity_(out == nullptr ? 0 : capacity) {}

    // False, leaving the listing as it was, once a text has not fitted.
    bool append(std::string_view text) {
        if (full_ || used_ + text.size() + 1 > capacity_) {
            full_ = true;
            return false;
        }
        if (!text.empty()) std::memcpy(out_ + used_, text.data(), text.size());
        used_ += text.size();
        out_[used_] = 0;
        return true;
    }

    bool full() const { return full_; }

private:
    char* out_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool full_ = false;
};

}  // namespace zelo
