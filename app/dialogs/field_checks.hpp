#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace zelo::dialogs {

// The checks a dialog runs on its fields when OK (or a button that reads an
// edit) is pressed. Each answers with a refusal: empty when the field is
// fine, else the text the dialog shows in a message box while it stays open.
using Refusal = std::string;

// An integer outside [low, high]: "Please enter an integer between low and
// high."
Refusal CheckRange(int value, int low, int high);

// An edit's text read as an integer within [low, high]: a whole decimal
// integer, optionally with '+' and surrounded by spaces. Text that is no
// such integer gets the same refusal as one out of range.
struct CheckedInteger {
    std::optional<int> value;  // set when the refusal is empty
    Refusal refusal;
};
CheckedInteger CheckIntegerText(std::string_view text, int low, int high);

// A text longer than the fixed field it is kept in. Texts are refused, never
// cut. With `what` naming the field ("The file name") the refusal says how
// long the text is; without, it is the plain limit of an edit box ("Please
// enter no more than 30 characters.").
Refusal CheckLength(std::string_view text, std::size_t limit, std::string_view what = {});

// The first refusal of several checks, in order.
inline Refusal FirstRefusal(std::initializer_list<Refusal> refusals) {
    for (const Refusal& refusal : refusals) {
        if (!refusal.empty()) return refusal;
    }
    return {};
}

}  // namespace zelo::dialogs
