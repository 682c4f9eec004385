#include "desktop/desktop_run.hpp"

#include <QApplication>

#include "desktop/main_frame.hpp"

namespace zelo::desktop {

int RunDesktop(int& argc, char** argv, const std::string& commandLine, core::Platform& platform,
               const program::OperationsFactory& makeOperations, DialogSet& dialogs,
               const std::atomic<int>& stopSignal) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelo32"));
    return RunMainWindow(commandLine, platform, makeOperations, dialogs, stopSignal);
}

int RunMainWindow(const std::string& commandLine, core::Platform& platform,
                  const program::OperationsFactory& makeOperations, DialogSet& dialogs,
                  const std::atomic<int>& stopSignal) {
    DesktopFrontEnd frontEnd(dialogs);
    program::Program program(platform, frontEnd, makeOperations);
    CMainFrame frame(program, frontEnd, dialogs, &stopSignal);
    frame.show();
    frame.StartTimer();

    program.Controller().StartUp(commandLine);
    QApplication::exec();
    program.ShutDown();
    return core::DecideExitStatus(program.Controller().Summary());
}

}  // namespace zelo::desktop
