#pragma once

#include <atomic>
#include <optional>
#include <string>

namespace zelo::program_main {

// True when the program was started where it can open a window: an X11 or
// Wayland display is named in the environment.
bool DisplayAvailable();

// Runs the desktop program for this command line and returns its exit
// status; nothing when this build has no desktop interface.
std::optional<int> RunOnDisplay(int& argc, char** argv, const std::string& commandLine,
                                const std::atomic<int>& stopSignal);

}  // namespace zelo::program_main
