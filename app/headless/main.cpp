// zelo32 without a display: runs one command-line form or a batch script
// and ends with an exit status. The desktop interface links the same core.
#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "core/platform/posix_platform.hpp"
#include "headless/headless_run.hpp"
#include "program/operations_binding.hpp"

namespace {

// Written by the signal handler, polled by the run's 10 ms loop.
std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void RequestStopOnSignal(int) { stopSignal = 1; }

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, RequestStopOnSignal);
    std::signal(SIGTERM, RequestStopOnSignal);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const zelo::headless::HeadlessOptions options = zelo::headless::ParseHeadlessOptions(arguments);
    zelo::core::PosixPlatform platform;
    return zelo::headless::RunHeadless(options, platform, std::cout, std::cerr,
                                       zelo::program::BindTerminalLink, stopSignal);
}
