#pragma once

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "core/core_platform.hpp"
#include "desktop/main_frame.hpp"
#include "desktop/qt_dialogs.hpp"
#include "file_bytes.hpp"
#include "modal_driver.hpp"
#include "temporary_folder.hpp"

namespace zelo::desktop::testing {

using qt_testing::BoxAnswerer;

// Settings for a test run: terminals A and B of a known model, so that no
// dialog opens at start-up.
inline std::string Configuration(bool autoExit = false, const std::string& extra = {}) {
    return std::string(
               "[Communication]\nPort=1\nBaudRate=9600\nAddress=AB\nTerminal_type=Brisa\n"
               "[COMMAND_LINE]\nAUTO_EXIT=") +
           (autoExit ? "Yes" : "No") + "\nSHOW_ERROR_BOX=No\n" + extra;
}

// The program's own dialogs, with the text argument answered by the test.
class ScriptedDialogs : public QtDialogs {
public:
    using QtDialogs::QtDialogs;
    std::optional<std::string> inputText;
    int lastInputCommand = 0;
    // The parameters dialog answered Yes to "Do you want to reconnect?"
    // (the line on port 1); otherwise it is the program's own.
    bool reconnectOnParameters = false;
    bool EditParameters(QWidget* parent, core::ProgramModel& view,
                        const std::function<void(int)>& reconnect) override {
        if (!reconnectOnParameters) return QtDialogs::EditParameters(parent, view, reconnect);
        reconnect(1);
        return true;
    }
    std::optional<std::string> InputText(QWidget*, int commandCode) override {
        lastInputCommand = commandCode;
        return inputText;
    }
};

// A working folder of its own with a configuration, the program's parts
// over the given operations, and the main window, shown and ticking; the
// dialogs are the test's scripted ones or the program's own (QtDialogs).
template <class Dialogs>
struct BasicDesktopFixture {
    explicit BasicDesktopFixture(const program::OperationsFactory& makeOperations,
                                 const std::string& configuration = Configuration(),
                                 const std::atomic<int>* stopSignal = nullptr)
        : previousDirectory(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(folder.Text()));
        test_support::WriteAll(File("Zelocom.ini"), configuration);
        frontEnd = std::make_unique<DesktopFrontEnd>(dialogs);
        program = std::make_unique<program::Program>(platform, *frontEnd, makeOperations);
        frame = std::make_unique<CMainFrame>(*program, *frontEnd, dialogs, stopSignal);
        frame->show();
        frame->StartTimer();
    }
    ~BasicDesktopFixture() {
        if (program->Worker().WorkerBusy() != 0) program->Controller().Stop();
        frame.reset();
        program.reset();
        QDir::setCurrent(previousDirectory);
    }
    std::string File(const std::string& name) const { return folder.File(name); }
    core::ModelState& State() { return program->View().State(); }

    QString previousDirectory;
    test_support::TemporaryFolder folder{"zelo-desktop"};
    core::SystemPlatform platform;
    Dialogs dialogs{platform};
    std::unique_ptr<DesktopFrontEnd> frontEnd;
    std::unique_ptr<program::Program> program;
    std::unique_ptr<CMainFrame> frame;
};

using DesktopFixture = BasicDesktopFixture<ScriptedDialogs>;

}  // namespace zelo::desktop::testing
