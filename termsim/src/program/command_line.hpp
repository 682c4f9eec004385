// The command line of zelo-termsim: what to do and with which
// configuration. docs/simulator.md describes every option.
#pragma once

#include <string>
#include <vector>

#include "simulator_config.hpp"

namespace termsim {

// Exit statuses of the program.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailure = 1;     // the line or a terminal folder failed
inline constexpr int kExitUsage = 2;       // wrong options or configuration
inline constexpr int kExitNoLineSide = 3;  // built without the line side

struct CommandLine {
    enum class Action { Run, Help, Version, PrintState } action = Action::Run;
    SimulatorConfig config;
};

// Reads the arguments (without the program name). Configuration files are
// read first, then the other options in order, so options override files.
// Throws ConfigError with a message for the user.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();

}  // namespace termsim
