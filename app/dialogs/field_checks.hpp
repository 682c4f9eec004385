#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zelo::dialogs {

// The checks a dialog runs on its edits when OK is pressed; a failed check
// keeps the dialog open with the message.
struct CheckedInteger {
    std::optional<int> value;  // set when the text is an integer in range
    std::string message;       // why not, naming the allowed range
};

// A whole decimal integer, optionally signed and surrounded by spaces,
// within [low, high].
CheckedInteger CheckIntegerInRange(std::string_view text, int low, int high);

// Empty when `text` has at most `limit` characters, else the message.
std::string CheckMaxCharacters(std::string_view text, std::size_t limit);

}  // namespace zelo::dialogs
