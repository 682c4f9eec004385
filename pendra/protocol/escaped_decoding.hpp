// The packet bytes an escaped text stands for (see escaped_form.hpp), read
// exactly as a terminal reads it: a text that breaks the form has no bytes,
// so the host never guesses what a terminal would store.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pendra::wire {

// nullopt when `text` holds a byte the form never writes (00 to 1F, A0 to
// FF but DC), a lone backslash at its end, or a backslash before a byte
// the form never escapes.
std::optional<std::string> unescaped(std::string_view text);

}  // namespace pendra::wire
