#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {

// The longest text a command's one-line argument holds.
inline constexpr std::size_t kMaxTextArgument = 99;
// The longest data text the library sends, counted in its escaped form.
inline constexpr std::size_t kMaxEscapedData = 127;
inline constexpr int kMaxExecAreaKilobytes = 999;

// The prompt, which is also the window title, of the four commands that
// ask for one line of text (file exists, send data, password, executable
// area size); empty for any other command code.
std::string_view TextInputPrompt(int commandCode);

// How many bytes `text` takes in the escaped form data travels in: control
// bytes, the backslash and the high bytes above 0x9F (but 0xDC) take two.
// The library writes that form and refuses a text whose form is too long;
// the program sees only zelodll.h, so it counts by the same rule here to
// tell the operator why before anything is sent. Both are tested against
// the same cases (test_support/escaped_form_cases.hpp).
std::size_t EscapedLength(std::string_view text);

// Why a command cannot take the typed text: longer than the argument holds;
// for send data, an escaped form the library's request cannot carry; for
// the executable area size, anything but a whole number 0..999. An empty
// text is taken as it stands, except as a size.
Refusal CheckTextArgument(int commandCode, std::string_view text);

}  // namespace zelo::dialogs
