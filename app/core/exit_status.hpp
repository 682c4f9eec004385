#pragma once

#include "core/command_line.hpp"
#include "core/command_worker.hpp"

namespace zelo::core {

// The program's exit statuses, the same for the console and the desktop.
enum ExitStatus : int {
    kExitSuccess = 0,        // the command ran and every terminal's result was a success
    kExitFailed = 1,         // a terminal failed, the line or a file could not be opened, Stop
    kExitUsage = 2,          // unknown command, too few parts, a limit, a script not run whole
    kExitInterrupted = 130,  // SIGINT (Ctrl-C) ended the run; SIGTERM gives 143
};

// What a run leaves behind for its status.
struct RunSummary {
    CommandLineResult commandLine = CommandLineResult::kInteractive;
    // How the last command of the command line ended.
    CommandOutcome outcome;
    // Failures the view reported: result lines with a failure code, boxes
    // about a port or file that could not be opened.
    int failuresReported = 0;
    // The operator ran commands of his own (from the menu) afterwards: the
    // session became an interactive one.
    bool operatorCommands = false;
};

// The one rule both front-ends end with. An interactive session ends with
// 0, whatever its commands did: the operator saw their results.
int DecideExitStatus(const RunSummary& run);

}  // namespace zelo::core
