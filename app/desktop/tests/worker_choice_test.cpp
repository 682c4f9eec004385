// A choice a running command asks for, answered in the program's own
// dialog on the user interface thread: the worker waits for it and then
// works on what was chosen, against a simulated terminal.
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/command_menu.hpp"
#include "desktop/qt_dialogs.hpp"
#include "desktop_fixture.hpp"
#include "program/program.hpp"
#include "simulated_terminal.hpp"

namespace zelo::desktop {

namespace {

using Fixture = testing::BasicDesktopFixture<QtDialogs>;

// Answers the next modal dialog that has a list named `listName` holding
// `fileName` (waiting for the list to fill, which a step of ModalDriver
// does not): `choose` acts on that item as the user would, then OK is
// pressed or the dialog cancelled. Counts the dialogs it answered.
class DialogAnswerer {
public:
    DialogAnswerer(QString listName, QString fileName, bool accept,
                   std::function<void(QListWidget&, QListWidgetItem&)> choose)
        : listName_(std::move(listName)),
          fileName_(std::move(fileName)),
          accept_(accept),
          choose_(std::move(choose)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(5);
    }
    int answered = 0;
    QString title;

private:
    void Answer() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || answered > 0) return;
        auto* list = dialog->findChild<QListWidget*>(listName_);
        if (list == nullptr) return;
        const QList<QListWidgetItem*> items = list->findItems(fileName_, Qt::MatchContains);
        if (items.isEmpty()) return;
        list->setCurrentItem(items.front());
        choose_(*list, *items.front());
        title = dialog->windowTitle();
        ++answered;
        if (accept_) {
            qt_testing::Press(dialog, "ok");
        } else {
            dialog->reject();
        }
    }

    QString listName_;
    QString fileName_;
    bool accept_;
    std::function<void(QListWidget&, QListWidgetItem&)> choose_;
    QTimer timer_;
};

void DoubleClick(QListWidget& list, QListWidgetItem& item) { emit list.itemDoubleClicked(&item); }

}  // namespace

class WorkerChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void EraseRemovesOnlyTheFileChosenInTheDialog() {
        if (testing::SimulatorProgram().isEmpty()) QSKIP("TERMSIM names no simulator");

        Fixture f(program::kConnectionObject, testing::SimulatorConfiguration());
        const QString folder = QString::fromStdString(f.folder.Text());
        const QString ram = folder + QStringLiteral("/sim/A/ram");
        QDir(folder).mkpath(QStringLiteral("sim/A/ram"));
        for (const char* name : {"OLD.DAT", "KEEP.DAT"}) {
            QFile file(ram + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("1;2;3\r\n");
        }
        testing::SimulatedTerminal terminal;
        QVERIFY(terminal.Start(folder, ram));
        f.program->Controller().StartUp("");
        const int erase = static_cast<int>(core::MenuCommand::kErase);

        {
            // Cancel after choosing: the worker erases nothing.
            DialogAnswerer cancel(QStringLiteral("available"), QStringLiteral("OLD.DAT"), false,
                                  DoubleClick);
            f.frame->RunCommand(erase);
            QTRY_COMPARE_WITH_TIMEOUT(cancel.answered, 1, 30000);
            QTRY_COMPARE_WITH_TIMEOUT(f.program->Worker().WorkerBusy(), 0, 30000);
            QVERIFY(QFile::exists(ram + QStringLiteral("/OLD.DAT")));
        }
        {
            DialogAnswerer choose(QStringLiteral("available"), QStringLiteral("OLD.DAT"), true,
                                  DoubleClick);
            f.frame->RunCommand(erase);
            QTRY_COMPARE_WITH_TIMEOUT(choose.answered, 1, 30000);
            QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(ram + QStringLiteral("/OLD.DAT")), 30000);
            QTRY_COMPARE_WITH_TIMEOUT(f.program->Worker().WorkerBusy(), 0, 30000);
        }
        QVERIFY(QFile::exists(ram + QStringLiteral("/KEEP.DAT")));
        QVERIFY(!f.program->Worker().LastOutcome().stopped);

        f.program->ShutDown();
        QVERIFY(terminal.Stop());
    }
};

}  // namespace zelo::desktop

QTEST_MAIN(zelo::desktop::WorkerChoiceTest)
#include "worker_choice_test.moc"
