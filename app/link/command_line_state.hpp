#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>

namespace zelo::link {

inline constexpr std::size_t kCommandLineTokens = 5;

// Command-line mode.
struct CommandLineState {
    int autoExit = 1;  // close the program when a command-line run is done
    // Set by the user interface thread to end a running batch script.
    std::atomic<int> abortScript{0};
    std::array<std::string, kCommandLineTokens> tokens;
    int tokenCount = 0;
    std::string phoneNumber;  // the number to dial for this run, when the modem is used
};

}  // namespace zelo::link
