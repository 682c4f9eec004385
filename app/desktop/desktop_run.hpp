#pragma once

#include <atomic>
#include <string>

#include "core/core_platform.hpp"
#include "desktop/dialog_set.hpp"
#include "program/program.hpp"

namespace zelo::desktop {

// One run of the desktop program: the main window with its output windows,
// the view's start-up and the command line (the text after the program's
// name, as the console program gets it), then the window's event loop until
// it closes. A command-line run with AUTO_EXIT closes by itself when its
// command ends; stopSignal non-zero stops the command and closes without
// asking.
//
// The exit status follows the console program's: 0 when nothing failed,
// 1 when a terminal failed, the line could not be opened or the command was
// stopped, 2 when the command line could not be run (the window then stays
// open for the user until closed).
int RunDesktop(int& argc, char** argv, const std::string& commandLine, core::Platform& platform,
               const program::OperationsFactory& makeOperations, DialogSet& dialogs,
               const std::atomic<int>& stopSignal);

}  // namespace zelo::desktop
