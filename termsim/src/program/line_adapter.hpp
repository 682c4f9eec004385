// The one place where the program meets the line side (framing, pacing and
// fault injection on a pseudo-terminal or serial device).
#pragma once

#include "simulator_config.hpp"
#include "terminal_line.hpp"

namespace termsim {

// Plays `line` on the device or pseudo-terminal that `setup` names until the
// line side ends; returns the program's exit status.
int runLine(const LineSetup& setup, TerminalLine& line);

}  // namespace termsim
