#pragma once

#include <string_view>

namespace zelo::link {

// The executable area size as typed, read once for both its uses: the
// command sends `kilobytes` whatever the text (a command line or a script
// is not asked again), and the dialog takes the text only when it is
// `wholeNumber`.
struct ExecAreaSizeText {
    // As the C runtime reads a number: digits after optional blanks and a
    // sign, 0 when there are none, held to -99999..99999 (the library
    // refuses anything outside 0..999 without a request).
    int kilobytes = 0;
    // Nothing but digits, with an optional minus sign and blanks around.
    bool wholeNumber = false;
};

ExecAreaSizeText ReadExecAreaSize(std::string_view text);

}  // namespace zelo::link
