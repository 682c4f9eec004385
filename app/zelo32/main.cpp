// zelo32: on a display, the desktop program with its main window; without
// one, or with --headless, the console program, which runs one command-line
// form or a batch script and ends with an exit status.
#include <algorithm>
#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "core/platform/posix_platform.hpp"
#include "headless/headless_run.hpp"
#include "program/operations_binding.hpp"
#include "zelo32/display_front_end.hpp"

namespace {

// Written by the signal handler, polled by the run's 10 ms loop or timer.
std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void RequestStopOnSignal(int) { stopSignal = 1; }

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, RequestStopOnSignal);
    std::signal(SIGTERM, RequestStopOnSignal);

    std::vector<std::string> arguments(argv + 1, argv + argc);
    // --headless is the program's own choice and comes before the command.
    bool headless = false;
    while (!arguments.empty() && arguments.front() == "--headless") {
        headless = true;
        arguments.erase(arguments.begin());
    }
    const zelo::headless::HeadlessOptions options = zelo::headless::ParseHeadlessOptions(arguments);
    // Help, option errors and a polled-data stream are the console's.
    const bool consoleOnly =
        options.help || !options.error.empty() || !options.pollDataPath.empty();
    if (!headless && !consoleOnly && zelo::program_main::DisplayAvailable()) {
        if (const auto status =
                zelo::program_main::RunOnDisplay(argc, argv, options.commandLine, stopSignal)) {
            return *status;
        }
    }
    zelo::core::PosixPlatform platform;
    return zelo::headless::RunHeadless(options, platform, std::cout, std::cerr,
                                       zelo::program::BindTerminalLink, stopSignal);
}
