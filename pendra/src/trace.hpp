// The optional trace for field diagnosis: PENDRA_TRACE=<file> (appended to)
// or PENDRA_TRACE=stderr. One line per frame in either direction and per
// failure, each with the time of day in UTC to the millisecond.
#pragma once

#include <string>

namespace pendra::trace {

bool enabled();

// `direction` is '>' for bytes sent, '<' for bytes received.
void frame(char direction, const std::string& bytes);

void note(const std::string& text);

}  // namespace pendra::trace
