#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelo::dialogs {

// The Lanta configuration file (*.K40): lines KEY=VALUE of at most 179
// characters. Keys match without regard to case, a key ends at a space
// (so "FIELD =5" is FIELD), the first matching line wins and the value is
// the text after the line's last '='.
inline constexpr std::size_t kMaxLantaLine = 179;

enum LantaKeyResult : int {
    kLantaKeyFound = 0,
    kLantaKeyMissing = 1,
    kLantaFileUnreadable = 2,
    kLantaLineTooLong = 3,  // a line before the key is longer than kMaxLantaLine
};

struct LantaKey {
    int result = kLantaKeyMissing;
    std::string value;   // empty unless found
    int lineNumber = 0;  // 1-based: the line found, or the line too long
};

// Looks `key` up in the file's whole text.
LantaKey ReadLantaKey(std::string_view fileText, std::string_view key);

// The first line (1-based) longer than kMaxLantaLine, or 0 when none is.
int FirstOverlongLantaLine(std::string_view fileText);

}  // namespace zelo::dialogs
