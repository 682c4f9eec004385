// The build with the desktop interface.
#include "core/platform/posix_platform.hpp"
#include "desktop/desktop_run.hpp"
#include "desktop/placeholder_dialogs.hpp"
#include "headless/operations_binding.hpp"
#include "zelo32/display_front_end.hpp"

namespace zelo::program_main {

std::optional<int> RunOnDisplay(int& argc, char** argv, const std::string& commandLine,
                                const std::atomic<int>& stopSignal) {
    core::PosixPlatform platform;
    desktop::PlaceholderDialogs dialogs;
    return desktop::RunDesktop(argc, argv, commandLine, platform, headless::BindTerminalOperations,
                               dialogs, stopSignal);
}

}  // namespace zelo::program_main
