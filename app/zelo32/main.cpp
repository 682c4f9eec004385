// zelo32: on a display, the desktop program with its main window; without
// one, or with --headless, the console program, which runs one command-line
// form or a batch script and ends with an exit status.
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/core_platform.hpp"
#include "headless/headless_run.hpp"
#include "headless/program_options.hpp"
#include "headless/serial_ports.hpp"
#include "program/program.hpp"
#include "zelo32/display_front_end.hpp"
#include "zelodll.h"

namespace {

// Set by the interrupt (Ctrl-C, SIGTERM), polled by the run's 10 ms loop or
// the window's timer.
std::atomic<int> stopSignal{0};

}  // namespace

int main(int argc, char** argv) {
    zelo::platform::InstallStopHandler(stopSignal);

    using namespace zelo::headless;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // --headless is the program's own choice and comes before the command.
    bool headless = false;
    while (!arguments.empty() && arguments.front() == "--headless") {
        headless = true;
        arguments.erase(arguments.begin());
    }
    const ProgramOptions program = ParseProgramOptions(arguments);
    if (!program.error.empty()) {
        std::cerr << "zelo32: " << program.error << "\nTry 'zelo32 --help' for more information.\n";
        return kExitUsage;
    }
    if (program.version) {
        std::cout << VersionText(HM_version());
        return kExitSuccess;
    }
    if (program.listPorts) {
        std::cout << SerialDeviceListing(FindSerialDevices());
        return kExitSuccess;
    }
    if (!program.directory.empty()) {
        std::error_code error;
        std::filesystem::current_path(program.directory, error);
        if (error) {
            std::cerr << "zelo32: cannot work in " << program.directory << ": " << error.message()
                      << "\n";
            return kExitUsage;
        }
    }
    // Both reach the link layer through its environment, read when the
    // line opens; no thread runs yet.
    if (!program.port.empty()) zelo::platform::SetEnvironmentValue(kDeviceVariable, program.port);
    if (program.verbose && std::getenv(kTraceVariable) == nullptr) {
        zelo::platform::SetEnvironmentValue(kTraceVariable, "stderr");
    }

    HeadlessOptions options = ParseHeadlessOptions(program.rest);
    // Help, option errors and a polled-data stream are the console's.
    const bool consoleOnly =
        options.help || !options.error.empty() || !options.pollDataPath.empty();
    int status = 0;
    bool ranOnDisplay = false;
    if (!headless && !consoleOnly && zelo::program_main::DisplayAvailable()) {
        if (const auto shown =
                zelo::program_main::RunOnDisplay(argc, argv, options.commandLine, stopSignal)) {
            status = *shown;
            ranOnDisplay = true;
        }
    }
    if (!ranOnDisplay) {
        options.progress = !program.quiet && zelo::platform::StandardErrorIsTerminal();
        zelo::core::SystemPlatform platform;
        status = RunHeadless(options, platform, std::cout, std::cerr,
                             zelo::program::kConnectionObject, stopSignal);
    }
    // A signal's own status, as shells expect, apart from a terminal that failed.
    if (stopSignal.load() != 0) return 128 + zelo::platform::StopSignalNumber();
    return status;
}
