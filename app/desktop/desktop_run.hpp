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
// The exit status is the console program's, by the same rule
// (core::DecideExitStatus); a session in which the operator ran commands of
// his own ends with 0.
int RunDesktop(int& argc, char** argv, const std::string& commandLine, core::Platform& platform,
               const program::OperationsFactory& makeOperations, DialogSet& dialogs,
               const std::atomic<int>& stopSignal);
// The same within a QApplication that already exists.
int RunMainWindow(const std::string& commandLine, core::Platform& platform,
                  const program::OperationsFactory& makeOperations, DialogSet& dialogs,
                  const std::atomic<int>& stopSignal);

}  // namespace zelo::desktop
