// The escaped form of packet bytes: a request is a zero-terminated text, so
// no byte of it may be zero. The backslash escapes control bytes and the
// upper half of the byte range.
//
//   00..1F            backslash, then the byte with bit 7 set (80..9F)
//   5C (backslash)    backslash, backslash
//   20..9F but 5C     the byte itself
//   DC                the byte itself
//   A0..FF but DC     backslash, then the byte with bit 7 cleared (20..7F)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelo {

// Appends the escaped form of `bytes` to `out`; at most twice as long.
void appendEscaped(std::string_view bytes, std::string& out);

// The escaped form of `bytes`.
std::string escaped(std::string_view bytes);

}  // namespace zelo
