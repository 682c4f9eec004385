// Stop against a running worker: two threads, as the user interface and the
// worker meet.
#include <gtest/gtest.h>

#include "command_doubles.hpp"

namespace zelo::core {
namespace {

using test_support::WriteAll;
using testing::kIniAB;
using testing::ScriptedProgram;
using testing::WaitFor;
using Strings = std::vector<std::string>;

constexpr const char* kStopLine = "Line  | Stop communication | |-1";

// Starts `code` on the menu with the named operation running until Stop.
void StartBlocked(ScriptedProgram& program, int code, const std::string& operation) {
    program.ops.blockIn = operation;
    ASSERT_TRUE(program.controller.RunCommand(code));
    ASSERT_TRUE(WaitFor([&] { return program.ops.blocking.load() == 1; }));
}

TEST(Stop, WithNothingRunningOnlyReturns) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    program.controller.Stop();
    EXPECT_TRUE(program.Events().empty());
    EXPECT_EQ(program.ops.IsStopRequested(), 0);
    // An operation marked running without a worker still gets its line.
    program.core.State().status.idle = 0;
    program.controller.Stop();
    EXPECT_EQ(program.Events(), (Strings{kStopLine}));
    EXPECT_EQ(program.core.State().status.idle, 1);
}

TEST(Stop, DuringATransferEndsItAndReloadsTheConfiguration) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    program.core.State().lists.downloadFiles[0] = "X.DAT";
    program.core.State().comm.addresses = "C";  // in memory only, as a run would
    program.core.State().progress.countdown = 9;
    StartBlocked(program, kDownloadListedFiles, "DownloadFileList");
    // A second command is refused while this one runs.
    EXPECT_FALSE(program.controller.RunCommand(kWarmStart));
    program.controller.Stop();

    EXPECT_EQ(program.worker.WorkerBusy(), 0);
    EXPECT_EQ(program.Events(), (Strings{"Connect C", "DownloadFileList ems 0", kStopLine}));
    EXPECT_TRUE(program.worker.LastOutcome().stopped);
    EXPECT_EQ(program.ops.IsStopRequested(), 0);
    EXPECT_EQ(program.core.State().comm.addresses, "AB");
    EXPECT_EQ(program.core.State().progress.countdown, 0);
    EXPECT_EQ(program.core.State().commandLine.abortScript, 0);  // not a command-line run
    EXPECT_TRUE(program.controller.RunCommand(kWarmStart));
}

TEST(Stop, DuringThePickingReadTheDialogNeverOpens) {
    for (int code : {kUploadChosenFiles, kAutoBoot, kRun, kErase}) {
        SCOPED_TRACE(code);
        ScriptedProgram program(kIniAB);
        program.Start("");
        program.core.State().status.connected = 1;
        program.ui.picks.push_back(PickAnswer{{"F"}, 'A', 1});
        StartBlocked(program, code, "GetDirectory");
        program.controller.Stop();
        const Strings events = program.Events();
        ASSERT_EQ(events.size(), 3u);
        EXPECT_EQ(events[1], kStopLine);
        EXPECT_EQ(events[2], "WaitUntilIdle");
        EXPECT_EQ(program.ui.picks.size(), 1u);  // never asked
    }
}

TEST(Stop, DuringAScriptEndsItRestoresTheAddressesAndEnablesTheRestart) {
    // AUTO_EXIT off: with it on, the stopped run closes the program instead.
    ScriptedProgram program(
        "[Communication]\r\nAddress=AB\r\nTerminal_type=Fenna\r\n"
        "[COMMAND_LINE]\r\nAUTO_EXIT=No\r\n");
    WriteAll(program.dir.File("three.zsc"), "A A\nB 1\nC M\n");
    program.ops.blockIn = "Poll";
    program.Start("Z " + program.dir.File("three.zsc"));
    ASSERT_TRUE(WaitFor([&] { return program.ops.blocking.load() == 1; }));
    EXPECT_FALSE(program.controller.IsEnabled(MenuGroup::kRestartScript));
    program.controller.Stop();

    EXPECT_EQ(program.Events(),
              (Strings{"Connect A", "WarmStart A", "Poll B POLL.DAT", kStopLine}));
    EXPECT_EQ(program.core.State().comm.addresses, "AB");
    EXPECT_EQ(program.worker.ExitRequested(), 0);
    EXPECT_TRUE(program.controller.IsEnabled(MenuGroup::kRestartScript));

    // The restart runs the script again from its first line.
    program.ops.blockIn.clear();
    ASSERT_TRUE(program.controller.RestartScript());
    program.worker.Join();
    const Strings events = program.Events();
    EXPECT_EQ(Strings(events.begin() + 4, events.end()),
              (Strings{"WarmStart A", "Poll B POLL.DAT", "SyncTime C set 0"}));
    EXPECT_EQ(program.core.State().commandLine.abortScript, 0);
    EXPECT_FALSE(program.controller.IsEnabled(MenuGroup::kRestartScript));
}

// Ends a Stop begun with BeginStop as the desktop's timer does, within a
// generous bound; on failure frees a worker left waiting for idle, so that
// the test can end.
bool FinishStop(ScriptedProgram& program) {
    const bool ended = WaitFor([&] { return program.controller.PollStop(); });
    if (!ended) {
        program.core.State().status.idle = 1;
        program.worker.Join();
    }
    return ended;
}

TEST(Stop, LandingBeforeTheOperationMarksItselfRunningStillEndsIt) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    program.core.State().status.connected = 1;
    program.ops.pauseIn = "WarmStart";
    program.ops.pauseAt = testing::ScriptedOperations::PauseAt::kBeforeMarkedRunning;
    ASSERT_TRUE(program.controller.RunCommand(kWarmStart));
    ASSERT_TRUE(WaitFor([&] { return program.ops.paused.load() == 1; }));

    program.controller.BeginStop();  // idle is still 1: nothing to end yet
    EXPECT_EQ(program.Events(), (Strings{"WarmStart AB"}));
    // Now it marks itself running, finds the stop flag and waits for idle.
    program.ops.resume = 1;
    ASSERT_TRUE(FinishStop(program));

    EXPECT_EQ(program.Events(), (Strings{"WarmStart AB", kStopLine}));
    EXPECT_EQ(program.core.State().status.idle, 1);
    EXPECT_TRUE(program.worker.LastOutcome().stopped);
}

TEST(Stop, BetweenTwoScriptLinesStartsNoFurtherLine) {
    ScriptedProgram program(
        "[Communication]\r\nAddress=AB\r\nTerminal_type=Fenna\r\n"
        "[COMMAND_LINE]\r\nAUTO_EXIT=No\r\n");
    WriteAll(program.dir.File("three.zsc"), "A A\nB 1\nC M\n");
    program.ops.pauseIn = "WarmStart";
    program.ops.pauseAt = testing::ScriptedOperations::PauseAt::kAfterItsLoop;
    program.Start("Z " + program.dir.File("three.zsc"));
    ASSERT_TRUE(WaitFor([&] { return program.ops.paused.load() == 1; }));

    program.controller.BeginStop();  // the first line's loop is over: no line to stop
    program.ops.resume = 1;
    ASSERT_TRUE(FinishStop(program));

    EXPECT_EQ(program.Events(), (Strings{"Connect A", "WarmStart A"}));
    EXPECT_EQ(program.core.State().comm.addresses, "AB");
    EXPECT_TRUE(program.controller.IsEnabled(MenuGroup::kRestartScript));
}

TEST(Stop, BeginStopReturnsAtOnceAndNothingStartsUntilTheStopIsDone) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    program.core.State().status.connected = 1;
    program.ops.pauseIn = "WarmStart";
    program.ops.pauseAt = testing::ScriptedOperations::PauseAt::kAfterItsLoop;
    ASSERT_TRUE(program.controller.RunCommand(kWarmStart));
    ASSERT_TRUE(WaitFor([&] { return program.ops.paused.load() == 1; }));

    // The worker is held, yet BeginStop has returned.
    program.controller.BeginStop();
    EXPECT_FALSE(program.controller.PollStop());
    EXPECT_FALSE(program.controller.IsEnabled(MenuGroup::kTerminalOrSettings));
    EXPECT_FALSE(program.controller.IsEnabled(MenuCommand::kConnect));
    EXPECT_TRUE(program.controller.IsEnabled(MenuCommand::kStop));
    EXPECT_FALSE(program.controller.RunCommand(kColdStart));
    program.ops.resume = 1;

    // The worker has ended, but until PollStop has finished the Stop no
    // command starts.
    ASSERT_TRUE(WaitFor([&] { return program.worker.WorkerBusy() == 0; }));
    EXPECT_FALSE(program.controller.RunMenuCommand(MenuCommand::kWarmStart));
    program.core.State().progress.countdown = 7;
    EXPECT_TRUE(program.controller.PollStop());
    EXPECT_EQ(program.core.State().progress.countdown, 0);
    EXPECT_TRUE(program.controller.IsEnabled(MenuGroup::kTerminalOrSettings));
    program.ops.pauseIn.clear();
    EXPECT_TRUE(program.controller.RunCommand(kColdStart));
    program.worker.Join();
    EXPECT_EQ(program.Events(), (Strings{"WarmStart AB", "ColdStart AB"}));
}

TEST(Stop, DuringACommandLineRunOrScriptStillClosesWithAutoExit) {
    ScriptedProgram program(kIniAB);
    program.ops.blockIn = "Poll";
    program.Start("C 1");
    ASSERT_TRUE(WaitFor([&] { return program.ops.blocking.load() == 1; }));
    program.controller.Stop();
    EXPECT_EQ(program.core.State().comm.addresses, "AB");
    EXPECT_EQ(program.worker.ExitRequested(), 1);

    ScriptedProgram scripted(kIniAB);
    WriteAll(scripted.dir.File("two.zsc"), "A 1\nB A\n");
    scripted.ops.blockIn = "Poll";
    scripted.Start("Z " + scripted.dir.File("two.zsc"));
    ASSERT_TRUE(WaitFor([&] { return scripted.ops.blocking.load() == 1; }));
    scripted.controller.Stop();
    EXPECT_EQ(scripted.worker.ExitRequested(), 1);
    EXPECT_EQ(scripted.Events().back(), kStopLine);
}

}  // namespace
}  // namespace zelo::core
