#pragma once

#include <string>
#include <vector>

namespace zelo::headless {

// The program's own options, read before the command line that the view
// reads (addresses, command, arguments). What they do not know passes on
// to the command-line reader unchanged, in order.
struct ProgramOptions {
    bool version = false;    // --version
    bool listPorts = false;  // --list-ports
    bool quiet = false;      // -q, --quiet: no progress line
    bool verbose = false;    // -v, --verbose: the link's step messages on standard error
    std::string port;        // --port DEVICE: this run's serial device
    std::string directory;   // -C, --directory DIR: run in that folder
    std::vector<std::string> rest;
    std::string error;  // non-empty: a usage error, one line
};

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

// "zelo32 19.0.0\nlibzelodll 19\n": the program and the library it loaded.
std::string VersionText(int libraryVersion);

// The environment variable that makes the link layer use DEVICE for
// whichever COM port the configuration names.
inline constexpr const char* kDeviceVariable = "PENDRA_DEVICE";
// The link layer's step trace; "stderr" writes it to standard error.
inline constexpr const char* kTraceVariable = "PENDRA_TRACE";

}  // namespace zelo::headless
