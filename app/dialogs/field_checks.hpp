#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelo::dialogs {

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
