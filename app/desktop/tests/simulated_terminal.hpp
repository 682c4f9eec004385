#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QTest>
#include <string>

namespace zelo::desktop::testing {

// Settings for a run against the simulator: terminal A, a Brisa on port 1
// at 57600 baud, with nothing else on the line (no modem, no power saving,
// no error log).
inline std::string SimulatorConfiguration() {
    return "[Communication]\nPort=1\nBaudRate=57600\nAddress=A\nTerminal_type=Brisa\n"
           "AutoBaudRate=0\nErrorLog=None\n[POWER]\nPower_Saving=NO\n"
           "[COMMAND_LINE]\nAUTO_EXIT=No\nSHOW_ERROR_BOX=No\n[Modem]\nUse_modem=No\n";
}

// The simulator program the build names in TERMSIM; empty where there is
// none (the test skips).
inline QString SimulatorProgram() { return QString::fromLocal8Bit(qgetenv("TERMSIM")); }

// Simulated terminal A, keeping its files in `ram`, on a line made in
// `folder`, with the program's port 1 pointed at that line. Ended with the
// object.
class SimulatedTerminal {
public:
    ~SimulatedTerminal() { Stop(); }

    // True once the simulator runs and its line is there.
    bool Start(const QString& folder, const QString& ram) {
        const QString line = folder + QStringLiteral("/line");
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(SimulatorProgram(), {QStringLiteral("--baud"), QStringLiteral("57600"),
                                            QStringLiteral("--link"), line, QStringLiteral("-t"),
                                            QStringLiteral("A:model=Brisa,ram=%1").arg(ram)});
        if (!process_.waitForStarted(10000)) return false;
        if (!QTest::qWaitFor([&line] { return QFile::exists(line); }, 10000)) return false;
        qputenv("PENDRA_PORT1", line.toLocal8Bit());
        return true;
    }

    // True once the simulator has ended (or never ran).
    bool Stop() {
        if (process_.state() == QProcess::NotRunning) return true;
        process_.terminate();
        return process_.waitForFinished(10000);
    }

private:
    QProcess process_;
};

}  // namespace zelo::desktop::testing
