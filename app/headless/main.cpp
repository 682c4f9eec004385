// zelo32 without a display: runs one command-line form or a batch script
// and ends with an exit status. The desktop interface links the same core.
#include <atomic>
#include <iostream>
#include <string>
#include <vector>

#include "core/core_platform.hpp"
#include "headless/headless_run.hpp"
#include "program/operations_binding.hpp"

namespace {

// Set by the console's interrupt (Ctrl-C), polled by the run's 10 ms loop.
std::atomic<int> stopSignal{0};

}  // namespace

int main(int argc, char** argv) {
    zelo::platform::InstallStopHandler(stopSignal);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const zelo::headless::HeadlessOptions options = zelo::headless::ParseHeadlessOptions(arguments);
    zelo::core::SystemPlatform platform;
    return zelo::headless::RunHeadless(options, platform, std::cout, std::cerr,
                                       zelo::program::BindTerminalLink, stopSignal);
}
