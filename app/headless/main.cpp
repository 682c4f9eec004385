// zelo32 without a display: runs one command-line form or a batch script
// and ends with an exit status. The desktop interface links the same core.
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
#include "program/operations_binding.hpp"
#include "zelodll.h"

namespace {

// Set by the console's interrupt (Ctrl-C), polled by the run's 10 ms loop.
std::atomic<int> stopSignal{0};

}  // namespace

int main(int argc, char** argv) {
    zelo::platform::InstallStopHandler(stopSignal);

    using namespace zelo::headless;
    const ProgramOptions program =
        ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
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
    options.progress = !program.quiet && zelo::platform::StandardErrorIsTerminal();
    zelo::core::SystemPlatform platform;
    const int status = RunHeadless(options, platform, std::cout, std::cerr,
                                   zelo::program::BindTerminalLink, stopSignal);
    // A signal's own status, as shells expect, apart from a terminal that failed.
    if (stopSignal.load() != 0) return 128 + zelo::platform::StopSignalNumber();
    return status;
}
