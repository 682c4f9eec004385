// Stop with the real connection object: during a download to a simulated
// terminal (the window stays live, the stop is reported, and the terminal
// does not end up with a file that claims to be whole), and during a
// reconnect's speed search on a silent line.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <fstream>

#include "desktop/menu_ids.hpp"
#include "desktop_fixture.hpp"
#include "program/program.hpp"
#include "simulated_terminal.hpp"

namespace zelo::desktop {

using testing::DesktopFixture;
using testing::SimulatedTerminal;

namespace {

// Counts the view's paint events.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

class StopTransferTest : public QObject {
    Q_OBJECT

private slots:
    void StopDuringADownloadKeepsTheWindowLive() {
        if (testing::SimulatorProgram().isEmpty()) QSKIP("TERMSIM names no simulator");

        DesktopFixture f(program::kConnectionObject, testing::SimulatorConfiguration());
        const QString folder = QString::fromStdString(f.folder.Text());
        QDir(folder).mkpath(QStringLiteral("sim/A/ram"));
        {
            std::ofstream big(f.File("BIG.DAT"), std::ios::binary);
            for (int i = 0; i < 20000; ++i) big << "ITEM-" << i << ";1.20\r\n";
        }
        SimulatedTerminal terminal;
        QVERIFY(terminal.Start(folder, folder + QStringLiteral("/sim/A/ram")));

        PaintCounter counter;
        f.frame->View().installEventFilter(&counter);
        QCOMPARE(f.program->Controller().StartUp("A L BIG.DAT BIG.DAT"),
                 core::CommandLineResult::kStarted);
        QTRY_VERIFY_WITH_TIMEOUT(f.State().progress.bytes.load() > 0, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 10000);

        QElapsedTimer stopping;
        stopping.start();
        const int paintsBefore = counter.paints;
        f.frame->RunCommand(kMenuStop);
        QVERIFY2(stopping.elapsed() < 10000, "Stop held the window too long");
        QTRY_VERIFY_WITH_TIMEOUT(!f.frame->Stopping(), 30000);
        QCOMPARE(f.program->Worker().WorkerBusy(), 0);
        // The progress and lines the worker sent on its way out still arrive.
        f.frame->View().update();
        QTRY_VERIFY(counter.paints > paintsBefore);
        bool stopLine = false;
        for (int i = 0; i < f.frame->MessageWindow().LineCount(); ++i) {
            stopLine |=
                f.frame->MessageWindow().Line(i).contains(QStringLiteral("Stop communication"));
        }
        QVERIFY(stopLine);
        QVERIFY(f.program->Worker().LastOutcome().stopped);

        // The terminal holds no copy that passes for the whole file.
        QFile sent(folder + QStringLiteral("/BIG.DAT"));
        QFile received(folder + QStringLiteral("/sim/A/ram/BIG.DAT"));
        QVERIFY(sent.open(QIODevice::ReadOnly));
        if (received.open(QIODevice::ReadOnly)) QVERIFY(received.readAll() != sent.readAll());

        // The window is still usable after the stop: commands are enabled.
        f.frame->UpdateEnabling();
        QTRY_VERIFY(f.frame->Action(kMenuPoll)->isEnabled());
        f.program->ShutDown();
        QVERIFY(terminal.Stop());
    }

    // The parameters dialog's reconnect searches the speed on the worker:
    // against a line where nothing answers, the window's own timer keeps
    // firing, and Stop ends the search, the probe under way included (its
    // reply wait alone is seconds on a silent line), well within a second.
    void ReconnectSearchesOnTheWorkerAndStopEndsIt() {
        const int line = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(line >= 0);
        QVERIFY(grantpt(line) == 0 && unlockpt(line) == 0);
        qputenv("PENDRA_PORT1", QByteArray(ptsname(line)));
        std::string settings = testing::SimulatorConfiguration();
        settings.replace(settings.find("AutoBaudRate=0"), 14, "AutoBaudRate=1");
        DesktopFixture f(program::kConnectionObject, settings);
        f.program->Controller().StartUp("");
        f.dialogs.reconnectOnParameters = true;

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(10);
        f.frame->RunCommand(kMenuParameters);  // returns at once: the worker reconnects
        QVERIFY(f.program->Worker().WorkerBusy() == 1);
        QTRY_VERIFY_WITH_TIMEOUT(f.State().status.idle.load() == 0, 10000);  // probing
        const int ticksBefore = ticks;
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= ticksBefore + 20, 10000);
        QCOMPARE(f.program->Worker().WorkerBusy(), 1);

        QElapsedTimer stopping;
        stopping.start();
        f.frame->RunCommand(kMenuStop);
        QTRY_VERIFY_WITH_TIMEOUT(!f.frame->Stopping(), 10000);
        QVERIFY2(stopping.elapsed() < 1000, qPrintable(QString::number(stopping.elapsed())));
        QCOMPARE(f.State().status.connected.load(), 0);
        f.program->ShutDown();
        close(line);
    }
};

}  // namespace zelo::desktop

QTEST_MAIN(zelo::desktop::StopTransferTest)
#include "stop_transfer_test.moc"
