// The same outcomes through the console program and the desktop window, each
// an unattended run (AUTO_EXIT=Yes, SHOW_ERROR_BOX=Yes): both must end by
// themselves, without a box, with the same exit status.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <sstream>
#include <thread>

#include "command_doubles.hpp"
#include "desktop/desktop_run.hpp"
#include "desktop/qt_dialogs.hpp"
#include "headless/headless_run.hpp"

namespace zelo::desktop {

using core::testing::EventLog;
using core::testing::ReportingOperations;
using core::testing::StartedInFolder;
using core::testing::WaitFor;
using test_support::TemporaryFolder;
using test_support::WriteAll;

namespace {

struct Outcome {
    const char* name;
    std::string commandLine;  // after the program's name; %s stands for the folder
    int expected;
    bool connectFails = false;
    bool pollFileFails = false;
    bool stop = false;     // Stop (a signal) once the poll runs
    bool noModel = false;  // Zelocom.ini names no terminal model
};

// One run in a fresh folder, through either front-end.
class Run {
public:
    explicit Run(const Outcome& outcome) : outcome_(outcome), platform_(dir_.Text()) {
        WriteAll(dir_.File("Zelocom.ini"),
                 std::string("[Communication]\r\nAddress=A\r\n") +
                     (outcome.noModel ? "" : "Terminal_type=Fenna\r\n") +
                     "[COMMAND_LINE]\r\nAUTO_EXIT=Yes\r\nSHOW_ERROR_BOX=Yes\r\n");
        // The second line is one character too long.
        WriteAll(dir_.File("s.zsc"), "A A\n" + std::string(100, 'A') + "\nA A\n");
        commandLine_ = outcome.commandLine;
        if (const auto at = commandLine_.find("%s"); at != std::string::npos) {
            commandLine_.replace(at, 2, dir_.Text());
        }
    }

    int Console() {
        std::ostringstream out, err;
        std::vector<std::string> arguments;
        std::istringstream words(commandLine_);
        for (std::string word; words >> word;) arguments.push_back(word);
        return WithStopper([&] {
            return headless::RunHeadless(headless::ParseHeadlessOptions(arguments), platform_, out,
                                         err, Operations(), stopSignal_);
        });
    }

    int Desktop() {
        QtDialogs dialogs(platform_);
        // A box would wait for a person for ever: it is noted and closed.
        QTimer boxCloser;
        QObject::connect(&boxCloser, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                boxes_.push_back(modal->windowTitle());
                modal->close();
            }
        });
        boxCloser.start(200);
        return WithStopper([&] {
            return RunMainWindow(commandLine_, platform_, Operations(), dialogs, stopSignal_);
        });
    }

    int BoxesShown() const { return static_cast<int>(boxes_.size()); }

private:
    program::OperationsFactory Operations() {
        return [this](core::ProgramModel& view) {
            auto operations = std::make_unique<ReportingOperations>(log_, view);
            operations->connectSucceeds = !outcome_.connectFails;
            operations->pollFileFails = outcome_.pollFileFails;
            if (outcome_.stop) operations->blockIn = "Poll";
            operations_ = operations.get();
            return operations;
        };
    }

    // Sets the stop signal once the poll runs, as Ctrl-C would.
    template <typename Body>
    int WithStopper(Body body) {
        stopSignal_ = 0;
        operations_ = nullptr;
        std::thread stopper;
        if (outcome_.stop) {
            stopper = std::thread([this] {
                WaitFor([this] {
                    ReportingOperations* operations = operations_.load();
                    return operations != nullptr && operations->blocking.load() == 1;
                });
                stopSignal_ = 1;
            });
        }
        const int status = body();
        if (stopper.joinable()) stopper.join();
        return status;
    }

    Outcome outcome_;
    TemporaryFolder dir_;
    StartedInFolder platform_;
    std::string commandLine_;
    EventLog log_;
    std::atomic<ReportingOperations*> operations_{nullptr};
    std::atomic<int> stopSignal_{0};
    std::vector<QString> boxes_;
};

}  // namespace

class ExitStatusTest : public QObject {
    Q_OBJECT

private slots:
    void BothFrontEndsEndUnattendedWithTheSameStatus() {
        const std::vector<Outcome> outcomes = {
            {"success", "A A", core::kExitSuccess},
            {"a terminal failed", "AB A", core::kExitFailed},
            {"the line did not open", "A A", core::kExitFailed, true},
            {"the poll file did not open", "A 1", core::kExitFailed, false, true},
            {"a script line refused", "Z %s/s.zsc", core::kExitUsage},
            {"stopped", "A 1", core::kExitFailed, false, false, true},
            // The terminal dialog of a first start is not shown either.
            {"no terminal model", "A A", core::kExitSuccess, false, false, false, true},
        };
        for (const Outcome& outcome : outcomes) {
            Run console(outcome);
            Run desktop(outcome);
            const int consoleStatus = console.Console();
            const int desktopStatus = desktop.Desktop();
            QVERIFY2(consoleStatus == outcome.expected, outcome.name);
            QVERIFY2(desktopStatus == consoleStatus, outcome.name);
            QVERIFY2(desktop.BoxesShown() == 0, outcome.name);
        }
    }
};

}  // namespace zelo::desktop

QTEST_MAIN(zelo::desktop::ExitStatusTest)
#include "exit_status_test.moc"
