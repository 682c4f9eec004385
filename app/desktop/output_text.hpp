#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelo::desktop {

// An output window keeps the newest this many lines.
inline constexpr int kMaxOutputLines = 2000;
// The longest line an output window shows; the rest of a longer line is cut.
inline constexpr std::size_t kMaxOutputLineBytes = 2047;

// The list lines a text adds: every piece that ends with a line feed, without
// it (and without a carriage return before it). Text after the last line
// feed is dropped, as callers end their lines. A piece longer than
// kMaxOutputLineBytes is cut to that length, but still becomes a line.
std::vector<std::string> SplitOutputText(std::string_view text);

// The output windows' font steps: larger always adds 2; smaller subtracts 2
// unless the size is already 8 or less.
int LargerFontSize(int size);
int SmallerFontSize(int size);

}  // namespace zelo::desktop
