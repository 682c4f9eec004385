// The build with the desktop interface.
#include "core/core_platform.hpp"
#include "desktop/desktop_run.hpp"
#include "desktop/qt_dialogs.hpp"
#include "program/program.hpp"
#include "zelo32/display_front_end.hpp"

namespace zelo::program_main {

std::optional<int> RunOnDisplay(int& argc, char** argv, const std::string& commandLine,
                                const std::atomic<int>& stopSignal) {
    core::SystemPlatform platform;
    desktop::QtDialogs dialogs(platform);
    return desktop::RunDesktop(argc, argv, commandLine, platform, program::kConnectionObject,
                               dialogs, stopSignal);
}

}  // namespace zelo::program_main
