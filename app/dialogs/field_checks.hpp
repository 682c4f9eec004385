#pragma once

#include <cstddef>
#include <initializer_list>
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

// What a dialog says when a field cannot be taken. Empty: the field is fine.
// The dialog stays open on a refusal and shows the text in a message box.
using Refusal = std::string;

// An integer field outside its range, in the words of the usual range check.
Refusal CheckRange(int value, int low, int high);

// A text longer than the fixed field it is kept in; `what` names the field
// ("The file name"). Texts are refused, never cut.
Refusal CheckLength(std::string_view text, std::size_t limit, std::string_view what);

// The first refusal of several checks, in order.
inline Refusal FirstRefusal(std::initializer_list<Refusal> refusals) {
    for (const Refusal& refusal : refusals) {
        if (!refusal.empty()) return refusal;
    }
    return {};
}

}  // namespace zelo::dialogs
