// The main window over scripted terminal operations: the enabling rules
// while a command runs, the window menu, the font steps, the lines from the
// worker, and closing.
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <thread>

#include "command_doubles.hpp"
#include "desktop/menu_ids.hpp"
#include "desktop_fixture.hpp"

namespace zelo::desktop {

using core::testing::EventLog;
using core::testing::ScriptedOperations;
using testing::BoxAnswerer;
using testing::Configuration;
using testing::DesktopFixture;

namespace {

constexpr int kRamSize = MenuId(core::MenuCommand::kRamSize);
constexpr int kWarmStart = MenuId(core::MenuCommand::kWarmStart);
constexpr int kSendData = MenuId(core::MenuCommand::kSendData);
constexpr int kConnect = MenuId(core::MenuCommand::kConnect);
constexpr int kDownloadListedFiles = MenuId(core::MenuCommand::kDownloadListedFiles);

bool Has(const std::vector<std::string>& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<EventLog> log_;
    ScriptedOperations* operations_ = nullptr;

    program::OperationsFactory Scripted() {
        return [this](core::ProgramModel&) {
            auto operations = std::make_unique<ScriptedOperations>(*log_);
            operations_ = operations.get();
            return operations;
        };
    }

private slots:
    void init() { log_ = std::make_unique<EventLog>(); }

    void CommandsAreDisabledWhileOneRunsAndBackAfterStop() {
        DesktopFixture f(Scripted());
        // The status-bar prompts come from the menu table: a text of its
        // own, the caption again, or none.
        QCOMPARE(f.frame->Action(MenuId(core::MenuCommand::kColdStart))->statusTip(),
                 QStringLiteral("ターミナルコールドスタート(リセット)"));
        QCOMPARE(f.frame->Action(kRamSize)->statusTip(), QStringLiteral("RAM サイズ"));
        QCOMPARE(f.frame->Action(kMenuStop)->statusTip(), QStringLiteral("ストップ"));
        QVERIFY(f.frame->Action(kConnect)->statusTip().isEmpty());
        f.program->Controller().StartUp("");
        operations_->blockIn = "QueryRamSize";
        f.frame->RunCommand(kRamSize);
        QTRY_VERIFY(operations_->blocking.load() == 1);
        f.frame->UpdateEnabling();
        QVERIFY(!f.frame->Action(kRamSize)->isEnabled());
        QVERIFY(!f.frame->Action(kMenuParameters)->isEnabled());
        QVERIFY(!f.frame->Action(kMenuPoll)->isEnabled());
        QVERIFY(!f.frame->Action(kConnect)->isEnabled());  // the line is open now
        QVERIFY(f.frame->Action(kMenuStop)->isEnabled());
        QVERIFY(f.frame->Action(kMenuMessageWindowShow)->isEnabled());
        QVERIFY(f.frame->Action(kMenuAbout)->isEnabled());
        // A disabled command reached anyway (a double click) starts nothing.
        f.frame->RunCommand(kWarmStart);

        f.frame->RunCommand(kMenuStop);
        QTRY_VERIFY(!f.frame->Stopping());
        QTRY_VERIFY(f.frame->Action(kRamSize)->isEnabled());
        QVERIFY(f.frame->Action(kMenuParameters)->isEnabled());
        QVERIFY(!Has(log_->Events(), "WarmStart AB"));
    }

    void ArgumentDialogCancelStartsNothing() {
        DesktopFixture f(Scripted());
        f.program->Controller().StartUp("");
        f.dialogs.inputText = std::nullopt;
        f.frame->RunCommand(kSendData);
        QCOMPARE(f.dialogs.lastInputCommand, static_cast<int>(core::kSendData));
        QCOMPARE(f.program->Worker().WorkerBusy(), 0);
        // OK: the text, cut to what the argument holds, goes to the command.
        f.dialogs.inputText = std::string(150, 'x');
        f.frame->RunCommand(kSendData);
        QTRY_VERIFY(Has(log_->Events(), "SendData " + std::string(99, 'x')));
    }

    void WorkerLinesArriveInOrderAndShowTheirWindows() {
        DesktopFixture f(Scripted());
        QVERIFY(!f.frame->MessageWindow().isVisible());
        QVERIFY(!f.frame->PollWindow().isVisible());
        std::thread worker([&f] {
            for (int i = 0; i < 300; ++i) {
                f.frontEnd->AppendToMessageWindow("A line " + std::to_string(i) + "\r\n");
                f.frontEnd->HandlePollRecord('B', "record " + std::to_string(i) + "\r\n");
            }
        });
        worker.join();
        QTRY_COMPARE(f.frame->MessageWindow().LineCount(), 300);
        QTRY_COMPARE(f.frame->PollWindow().LineCount(), 300);
        for (int i = 0; i < 300; ++i) {
            QCOMPARE(f.frame->MessageWindow().Line(i), QStringLiteral("A line %1").arg(i));
        }
        QCOMPARE(f.frame->PollWindow().Line(299), QStringLiteral("B record 299"));
        QVERIFY(f.frame->MessageWindow().isVisible());
        QVERIFY(f.frame->PollWindow().isVisible());
        // A note for the operator (why a file failed) is a line of its own
        // after the result lines it explains.
        f.frontEnd->ShowOperatorNote("OUT.DAT: cannot write: No space left on device");
        QTRY_COMPARE(f.frame->MessageWindow().LineCount(), 301);
        QCOMPARE(f.frame->MessageWindow().Line(300),
                 QStringLiteral("OUT.DAT: cannot write: No space left on device"));
    }

    void FirstLineShowsTheWindowButTheKeyboardStaysInTheMainWindow() {
        DesktopFixture f(Scripted());
        f.frame->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), f.frame.get());
        f.frontEnd->AppendToMessageWindow("A 10:00:00 first\n");
        QTRY_VERIFY(f.frame->MessageWindow().isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&f.frame->MessageWindow()));
        QTRY_COMPARE(QApplication::activeWindow(), f.frame.get());
    }

    void OneNameLooksTheSameInEveryWindow() {
        // A Japanese name as Zelocom.ini and the file system hold it (UTF-8
        // here), and a Shift-JIS one from a terminal, which is not.
        const std::string name = "価格表.DAT";
        const QString shown = QStringLiteral("価格表.DAT");
        const std::string shiftJis = "\x89\xbf\x8a\x69.DAT";
        DesktopFixture f(Scripted(),
                         Configuration(false, "[Multi_download]\nFile1=" + name + "\n"));
        f.program->Controller().StartUp("");

        f.frontEnd->AppendToMessageWindow("A 10:00:00 Download " + name + "  Successfully\n");
        f.frontEnd->AppendToMessageWindow(shiftJis + "\n");
        f.frontEnd->HandlePollRecord('A', name + "\r\n");
        QTRY_COMPARE(f.frame->MessageWindow().LineCount(), 2);
        QCOMPARE(f.frame->MessageWindow().Line(0),
                 QStringLiteral("A 10:00:00 Download 価格表.DAT  Successfully"));
        // Byte for byte, not a row of replacement characters.
        QCOMPARE(f.frame->MessageWindow().Line(1), QString::fromLatin1(shiftJis.c_str()));
        QTRY_COMPARE(f.frame->PollWindow().Line(0), QStringLiteral("A ") + shown);

        BoxAnswerer ok(QMessageBox::Ok);
        f.frontEnd->ShowMessage(name);
        QCOMPARE(ok.lastText, shown);

        QString edited;
        qt_testing::ModalDriver driver;
        driver.Then([&edited](QWidget* dialog) {
            if (auto* file = qt_testing::Child<QLineEdit>(dialog, "file1")) edited = file->text();
            dialog->close();
        });
        f.frame->RunCommand(kMenuDownloadList);
        QCOMPARE(edited, shown);
    }

    void NarrowDialogsAndBoxesShowTheirWholeTitle() {
        DesktopFixture f(Scripted());
        f.program->Controller().StartUp("");
        for (const int menuId : {kMenuLibraryVersion, kMenuTerminalType}) {
            int width = 0;
            int needed = -1;
            QTimer::singleShot(0, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                width = dialog->width();
                needed = dialogs::TitleWidth(*dialog);
                dialog->close();
            });
            f.frame->RunCommand(menuId);
            QVERIFY2(width >= needed, qPrintable(QString::number(menuId)));
        }
    }

    void HiddenWindowIsNotClearedAndShowsAgainWithItsNextLine() {
        DesktopFixture f(Scripted());
        f.frontEnd->AppendToMessageWindow("first\n");
        QTRY_COMPARE(f.frame->MessageWindow().LineCount(), 1);
        f.frame->RunCommand(kMenuMessageWindowHide);
        QVERIFY(!f.frame->MessageWindow().isVisible());
        f.frame->RunCommand(kMenuMessageWindowClear);
        QCOMPARE(f.frame->MessageWindow().LineCount(), 1);
        f.frontEnd->AppendToMessageWindow("second\n");
        QTRY_VERIFY(f.frame->MessageWindow().isVisible());
        QCOMPARE(f.frame->MessageWindow().LineCount(), 2);
        f.frame->RunCommand(kMenuMessageWindowClear);
        QCOMPARE(f.frame->MessageWindow().LineCount(), 0);

        // The polling window the same way, from its own menu items.
        f.frame->RunCommand(kMenuPollWindowShow);
        QVERIFY(f.frame->PollWindow().isVisible());
        f.frontEnd->HandlePollRecord('A', "r\n");
        QTRY_COMPARE(f.frame->PollWindow().LineCount(), 1);
        f.frame->RunCommand(kMenuPollWindowHide);
        f.frame->RunCommand(kMenuPollWindowClear);
        QCOMPARE(f.frame->PollWindow().LineCount(), 1);
        f.frame->RunCommand(kMenuPollWindowShow);
        f.frame->RunCommand(kMenuPollWindowClear);
        QCOMPARE(f.frame->PollWindow().LineCount(), 0);
    }

    void FontMenuStepsBothWindowsAndIsSaved() {
        DesktopFixture f(Scripted(), Configuration(false, "[MESSAGE_WINDOW]\nFONT_SIZE=9\n"));
        f.program->Controller().StartUp("");
        QCOMPARE(f.State().messageFontSize.load(), 9);
        f.frame->RunCommand(kMenuFontSmaller);  // 9 is more than 8: down to 7
        QCOMPARE(f.State().messageFontSize.load(), 7);
        f.frame->RunCommand(kMenuFontSmaller);
        QCOMPARE(f.State().messageFontSize.load(), 7);
        f.frame->RunCommand(kMenuFontLarger);
        f.frame->RunCommand(kMenuFontLarger);
        QCOMPARE(f.State().messageFontSize.load(), 11);
        QCOMPARE(f.frame->MessageWindow().Text()->font().pixelSize(), 11);
        QCOMPARE(f.frame->PollWindow().Text()->font().pixelSize(), 11);
        // A settings dialog, or a stopped command, reads the file again: the
        // size chosen stays, as the windows show it.
        f.program->View().ReloadConfiguration();
        QCOMPARE(f.State().messageFontSize.load(), 11);
        BoxAnswerer yes(QMessageBox::Yes);
        f.frame->close();
        QVERIFY(f.frame->HasShutDown());
        QVERIFY(test_support::ReadAll(f.File("Zelocom.ini")).find("FONT_SIZE=11") !=
                std::string::npos);
    }

    void ExitAsksAndNoKeepsTheProgram() {
        DesktopFixture f(Scripted());
        f.program->Controller().StartUp("");
        {
            BoxAnswerer no(QMessageBox::No);
            QVERIFY(!f.frame->close());
            QCOMPARE(no.answered, 1);
            QCOMPARE(no.lastText, QStringLiteral("Exit Program?"));
        }
        QVERIFY(!f.frame->HasShutDown());
        BoxAnswerer yes(QMessageBox::Yes);
        QVERIFY(f.frame->close());
        QVERIFY(f.frame->HasShutDown());
    }

    void CloseWhileRunningStopsFirst() {
        DesktopFixture f(Scripted());
        f.program->Controller().StartUp("");
        operations_->blockIn = "WarmStart";
        f.frame->RunCommand(kWarmStart);
        QTRY_VERIFY(operations_->blocking.load() == 1);
        BoxAnswerer yes(QMessageBox::Yes);
        f.frame->close();
        QTRY_VERIFY(f.frame->HasShutDown());
        QCOMPARE(yes.answered, 1);
        QCOMPARE(yes.lastText, QStringLiteral("Do you want to stop communication?"));
        QCOMPARE(f.State().status.closing.load(), 1);
        QVERIFY(Has(log_->Events(), "Disconnect 1"));  // the line is closed on the way out
    }

    void SignalStopsTheCommandAndClosesWithoutAsking() {
        std::atomic<int> signal{0};
        DesktopFixture f(Scripted(), Configuration(), &signal);
        f.program->Controller().StartUp("");
        operations_->blockIn = "WarmStart";
        f.frame->RunCommand(kWarmStart);
        QTRY_VERIFY(operations_->blocking.load() == 1);
        BoxAnswerer watcher(QMessageBox::No);
        signal = 1;  // what SIGINT or SIGTERM does
        QTRY_VERIFY(f.frame->HasShutDown());
        QCOMPARE(watcher.answered, 0);
        QVERIFY(f.program->Worker().LastOutcome().stopped);
    }

    void SignalAnswersTheBoxTheWorkerWaitsOn() {
        std::atomic<int> signal{0};
        DesktopFixture f(Scripted(), Configuration(), &signal);
        f.program->Controller().StartUp("");
        // An empty download list: the worker tells so in a box and waits.
        // The signal comes while the box is open (the box runs its own loop,
        // so a timer watches for it). The worker sees the signal first and
        // gives the box up before the window's timer does: the window then
        // closes with the box still open, and must not leave it behind (its
        // loop would never end).
        bool boxWhileBusy = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (signal.load() == 0 &&
                qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr) {
                boxWhileBusy = f.program->Worker().WorkerBusy() == 1;
                signal = 1;
                for (int i = 0; i < 1000 && f.program->Worker().WorkerBusy() != 0; ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            }
        });
        watcher.start(5);
        f.frame->RunCommand(kDownloadListedFiles);
        QTRY_VERIFY(f.frame->HasShutDown());
        QVERIFY(boxWhileBusy);
        QCOMPARE(f.program->Worker().WorkerBusy(), 0);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // The worker changes the addresses for each script line, polls, and
    // reloads the configuration after Stop, while the view repaints all the
    // time: nothing of it may be a data race (the ThreadSanitizer run).
    void ViewRepaintsWhileAScriptAndAPollChangeTheSettings() {
        DesktopFixture f(Scripted());
        test_support::WriteAll(f.File("s.zsc"), "A A\nBA M\nCAB A\nAB 1\n");
        f.State().progress.mode = link::kProgressPolling;
        operations_->blockIn = "Poll";
        QTimer painter;
        int paints = 0;
        connect(&painter, &QTimer::timeout, [&] {
            f.frame->View().repaint();
            ++paints;
        });
        painter.start(1);
        QCOMPARE(f.program->Controller().StartUp("Z s.zsc"), core::CommandLineResult::kStarted);
        QTRY_VERIFY_WITH_TIMEOUT(operations_->blocking.load() == 1, 30000);
        // Repaints while the worker runs, however fast the machine.
        int before = paints;
        QTRY_VERIFY_WITH_TIMEOUT(paints > before + 2, 30000);
        f.frame->RunCommand(kMenuStop);  // the worker reloads the configuration
        QTRY_VERIFY_WITH_TIMEOUT(!f.frame->Stopping(), 30000);
        QVERIFY(Has(log_->Events(), "WarmStart CAB"));
        // A polling run from the menu, stopped the same way.
        QTRY_VERIFY(f.frame->Action(kMenuPoll)->isEnabled());
        f.frame->RunCommand(kMenuPoll);
        QTRY_VERIFY_WITH_TIMEOUT(operations_->blocking.load() == 1, 30000);
        before = paints;
        QTRY_VERIFY_WITH_TIMEOUT(paints > before + 2, 30000);
        f.frame->RunCommand(kMenuStop);
        QTRY_VERIFY_WITH_TIMEOUT(!f.frame->Stopping(), 30000);
        QCOMPARE(f.State().display.Get().addresses, std::string("AB"));  // as configured
    }

    void UnattendedRunClosesByItselfWithoutAsking() {
        DesktopFixture f(Scripted(), Configuration(true));
        BoxAnswerer watcher(QMessageBox::No);
        QCOMPARE(f.program->Controller().StartUp("AB A"), core::CommandLineResult::kStarted);
        QTRY_VERIFY(f.frame->HasShutDown());
        QCOMPARE(watcher.answered, 0);
        QVERIFY(Has(log_->Events(), "WarmStart AB"));
        QVERIFY(!f.frame->isVisible());
    }
};

}  // namespace zelo::desktop

QTEST_MAIN(zelo::desktop::MainFrameTest)
#include "main_frame_test.moc"
