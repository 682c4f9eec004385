// Why the last set-up of this process failed, kept for the program to show
// the operator (Pendra_last_error_text). Result codes cross the terminal
// command library as small numbers; the reason in words goes beside them.
#pragma once

#include <cstddef>
#include <string>

#include "serial_port.hpp"

namespace pendra {

// Replaces the remembered reason; None with an empty text after a set-up
// that succeeded. Any thread.
void recordOpenError(platform::OpenFailure failure, const std::string& text);

struct OpenError {
    platform::OpenFailure failure = platform::OpenFailure::None;
    std::string text;
};

OpenError lastOpenError();

}  // namespace pendra
