#include "desktop/desktop_run.hpp"

#include <QApplication>

#include "desktop/main_frame.hpp"

namespace zelo::desktop {

int RunDesktop(int& argc, char** argv, const std::string& commandLine, core::Platform& platform,
               const program::OperationsFactory& makeOperations, DialogSet& dialogs,
               const std::atomic<int>& stopSignal) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelo32"));

    DesktopFrontEnd frontEnd(dialogs);
    program::Program program(platform, frontEnd, makeOperations);
    CMainFrame frame(program, frontEnd, dialogs, &stopSignal);
    frame.show();
    frame.StartTimer();

    const core::CommandLineResult started = program.Controller().StartUp(commandLine);
    application.exec();
    program.ShutDown();

    switch (started) {
        case core::CommandLineResult::kInteractive: return 0;
        case core::CommandLineResult::kStarted: break;
        default: return 2;
    }
    const core::CommandOutcome outcome = program.Worker().LastOutcome();
    if (outcome.scriptMissing) return 2;
    if (outcome.stopped || outcome.lineUnavailable || frontEnd.AnyTerminalFailed()) return 1;
    return 0;
}

}  // namespace zelo::desktop
