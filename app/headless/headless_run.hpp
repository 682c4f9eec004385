#pragma once

#include <atomic>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/core_platform.hpp"
#include "core/exit_status.hpp"
#include "program/program.hpp"

namespace zelo::headless {

// The program's exit statuses, shared with the desktop.
using core::kExitFailed;
using core::kExitInterrupted;
using core::kExitSuccess;
using core::kExitUsage;

// What the program's own options chose; the rest is the command line the
// view reads, as the desktop program would get it.
struct HeadlessOptions {
    bool help = false;
    std::string pollDataPath;  // "-": standard output; empty: not written
    std::string commandLine;
    std::string error;      // non-empty: the options themselves are wrong
    bool progress = false;  // draw the transfer progress line on `err` (a terminal)
};

HeadlessOptions ParseHeadlessOptions(const std::vector<std::string>& arguments);

std::string HelpText();

using program::OperationsFactory;

// One run without a display: start-up, the command line, the command until
// it ends (stopSignal non-zero acts as Stop), then the program's end (line
// closed, configuration saved). Returns the exit status.
int RunHeadless(const HeadlessOptions& options, core::Platform& platform, std::ostream& out,
                std::ostream& err, const OperationsFactory& makeOperations,
                const std::atomic<int>& stopSignal);

}  // namespace zelo::headless
