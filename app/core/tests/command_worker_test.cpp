#include "core/command_worker.hpp"

#include <gtest/gtest.h>

#include "command_doubles.hpp"

namespace zelo::core {
namespace {

using testing::kIniAB;
using testing::ScriptedProgram;
using Strings = std::vector<std::string>;

// Runs one menu command on an interactive program and returns what it did.
std::vector<std::string> RunMenuCommand(ScriptedProgram& program, int code) {
    EXPECT_TRUE(program.controller.RunCommand(code));
    program.worker.Join();
    return program.Events();
}

struct CodeCase {
    int code;
    std::function<void(ScriptedProgram&)> arrange;
    std::vector<std::string> expected;
};

TEST(CommandWorker, EveryCodeReachesItsOperationWithItsArguments) {
    auto args = [](auto set) {
        return [set](ScriptedProgram& p) { set(p.worker.Arguments(), p); };
    };
    auto pick = [](std::vector<std::string> names, char address, int all) {
        return [=](ScriptedProgram& p) { p.ui.picks.push_back(PickAnswer{names, address, all}); };
    };
    auto none = [](ScriptedProgram&) {};
    const std::vector<CodeCase> cases = {
        {kColdStart, none, {"ColdStart AB"}},
        {kDownloadChosenFiles,
         [](ScriptedProgram& p) {
             p.core.State().lists.pickedFiles = {"C:\\X.DAT", "Y.DAT"};
         },
         {"DownloadSelectedFiles C:\\X.DAT,Y.DAT ems 0"}},
        {kDownloadListedFiles,
         [](ScriptedProgram& p) { p.core.State().lists.downloadFiles[11] = "LAST.DAT"; },
         {"DownloadFileList ems 0"}},
        {kRamSize, none, {"QueryRamSize AB"}},
        {kFlashSize, none, {"QueryFlashSize AB"}},
        {kPowerSavingOn, none, {"SetPowerSaving AB 1"}},
        {kPowerSavingOff, none, {"SetPowerSaving AB 0"}},
        {kDirectory,
         args([](CommandArguments& a, auto&) { a.disk = link::Disk::kFlashRom; }),
         {"GetDirectory AB 1"}},
        {kWarmStart, none, {"WarmStart AB"}},
        {kUploadChosenFiles,
         pick({"A.TXT", "B.TXT"}, 'B', 0),
         {"GetDirectory AB 0", "Pick |AB|DIRADIRB", "UploadSelectedFiles A.TXT,B.TXT"}},
        {kUploadListedFiles,
         [](ScriptedProgram& p) { p.core.State().lists.uploadFiles[0] = "F.TXT"; },
         {"UploadFileList ems 0"}},
        {kTimeAndDate,
         [](ScriptedProgram& p) { p.core.State().timeSync.useSetTime = true; },
         {"SyncTime AB set 1"}},
        {kBarcodeTable,
         args([](CommandArguments& a, auto&) { a.barcodeTable = "ABCDE"; }),
         {"SetBarcodeTable ABCDE"}},
        {kAddressChange,
         args([](CommandArguments& a, auto&) {
             a.addressChange = {'B', 'C'};
         }),
         {"ChangeAddress BC"}},
        {kFirmwareVersion, none, {"GetFirmwareVersion"}},
        {kTerminalId, none, {"GetTerminalId"}},
        {kFileExists,
         args([](CommandArguments& a, auto&) { a.textArgument = "F.DAT"; }),
         {"CheckFileExists F.DAT"}},
        {kUploadMode, none, {"SetUploadMode"}},
        {kRunningProgram, none, {"CheckRunningProgram"}},
        {kCommTable,
         [](ScriptedProgram& p) {
             p.core.State().timing.terminalTimeout = 7;
             p.core.State().commTable.baudIndex = 9;
             p.core.State().commTable.changePcParameters = true;
         },
         {"SetCommParameters 7 9 1"}},
        {kBuzzer,
         args([](CommandArguments& a, auto&) { a.optionValue = 5; }),
         {"SetBeeperVolume 5"}},
        {kDeviceTable,
         args([](CommandArguments& a, auto&) { a.deviceTable = "123456"; }),
         {"SetDeviceTable 123456"}},
        {kKeypad, args([](CommandArguments& a, auto&) { a.keypadMode = 'A'; }), {"SetKeypad A"}},
        {kUpsOff, none, {"SetUpsOff"}},
        {kSendData,
         args([](CommandArguments& a, auto&) { a.textArgument = "hello"; }),
         {"SendData hello"}},
        {kPassword,
         args([](CommandArguments& a, auto&) { a.textArgument = "pw"; }),
         {"SetPassword pw"}},
        {kSystemFont,
         args([](CommandArguments& a, auto&) { a.optionValue = '2'; }),
         {"RestoreSystemFont 2"}},
        {kExecAreaSize,
         args([](CommandArguments& a, auto&) { a.textArgument = "64"; }),
         {"SetExecAreaSize 64"}},
        {kAutoBoot,
         [](ScriptedProgram& p) {
             p.worker.Arguments().disk = link::Disk::kFlashRom;
             p.ui.picks.push_back(PickAnswer{{"BOOT.EXE"}, 'A', 0});
         },
         {"GetDirectory AB 1", "Pick Run Program select|AB|DIRADIRB",
          "SetAutoBoot A all 0 rom 1 BOOT.EXE"}},
        {kPoll, none, {"Poll AB POLL.DAT"}},
        {kRun,
         pick({"PROG.EXE"}, 'B', 1),
         {"GetDirectory AB 0", "Pick Run Program select|AB|DIRADIRB",
          "RunProgram AB B all 1 rom 0 PROG.EXE"}},
        {kErase,
         pick({"OLD.DAT"}, 'A', 0),
         {"GetDirectory AB 0", "Pick |AB|DIRADIRB", "PurgeFiles AB A all 0  [OLD.DAT]"}},
        {kLantaTable,
         args([](CommandArguments& a, auto&) { a.lantaRecord = "REC"; }),
         {"SendLantaTable REC"}},
        {kKermit, none, {"ExecuteKermit"}},
        {kDisconnectLine, none, {"Disconnect 1"}},
        {kLineTest, none, {"Line A|1||0", "Line A|2||0", "LineTest"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        ScriptedProgram program(kIniAB);
        ASSERT_EQ(program.Start(""), CommandLineResult::kInteractive);
        program.core.State().status.connected = 1;
        c.arrange(program);
        EXPECT_EQ(RunMenuCommand(program, c.code), c.expected);
        EXPECT_EQ(program.worker.WorkerBusy(), 0);
        EXPECT_EQ(program.worker.CommandCode(), kNoCommand);
    }
}

TEST(CommandWorker, FrameAsksBeforeTheLineOpensThenRunsTheOperation) {
    ScriptedProgram program(
        "[Communication]\r\nAddress=A\r\nTerminal_type=Delmar\r\n"
        "[Multi_download]\r\nFile3=C:\\PROG.EXE\r\n[Multi_upload]\r\nFile1=DATA.TXT\r\n");
    program.Start("");
    program.ui.yesNo = {true, false};
    RunMenuCommand(program, kDownloadListedFiles);
    RunMenuCommand(program, kUploadListedFiles);
    EXPECT_EQ(program.Events(),
              (Strings{"Ask Download to EMS?", "Connect A", "DownloadFileList ems 1",
                       "Ask Upload from EMS?", "UploadFileList ems 0"}));
}

TEST(CommandWorker, EmptyListsSayNoFileAndNeverConnect) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    RunMenuCommand(program, kDownloadListedFiles);
    RunMenuCommand(program, kUploadListedFiles);
    EXPECT_EQ(program.Events(),
              (Strings{"Box No file to be setting!", "Box No file to be setting!"}));
}

TEST(CommandWorker, LineThatCannotBeOpenedSkipsTheOperationButNotTheTestMarkers) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    program.ops.connectSucceeds = false;
    RunMenuCommand(program, kWarmStart);
    EXPECT_TRUE(program.worker.LastOutcome().lineUnavailable);
    RunMenuCommand(program, kLineTest);
    EXPECT_EQ(program.Events(),
              (Strings{"Connect AB", "Line A|1||0", "Line A|2||0", "Connect AB"}));
}

TEST(CommandWorker, NoAddressMeansSilence) {
    ScriptedProgram program("[Communication]\r\nAddress=\r\nTerminal_type=Fenna\r\n");
    program.Start("");
    RunMenuCommand(program, kColdStart);
    RunMenuCommand(program, kConnectLine);
    EXPECT_TRUE(program.Events().empty());
    EXPECT_TRUE(program.view.boxes.empty());
}

TEST(CommandWorker, ConnectCommandOpensOnlyAClosedLine) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    RunMenuCommand(program, kConnectLine);
    RunMenuCommand(program, kConnectLine);  // connected now: state 1, nothing
    EXPECT_EQ(program.Events(), (Strings{"Connect AB"}));
}

TEST(CommandWorker, DialStepUsesTheDialogOrTheRunsNumber) {
    const std::string modem = std::string(kIniAB) + "[Modem]\r\nUse_modem=Yes\r\n";
    {
        ScriptedProgram program(modem);
        program.Start("");
        RunMenuCommand(program, kWarmStart);  // the dialog is cancelled
        program.ui.dialNumber = "555";
        RunMenuCommand(program, kWarmStart);
        EXPECT_EQ(program.Events(),
                  (Strings{"Dial dialog", "Dial dialog", "Connect AB dial 555", "WarmStart AB"}));
    }
    {
        ScriptedProgram program(modem);
        EXPECT_EQ(program.Start("0123 a 1"), CommandLineResult::kStarted);
        program.worker.Join();
        EXPECT_EQ(program.Events(), (Strings{"Connect A dial 0123", "Poll A POLL.DAT"}));
    }
}

TEST(CommandWorker, ChoiceDialogCancelledOrEmptyRunsNothing) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    program.core.State().status.connected = 1;
    RunMenuCommand(program, kRun);  // Cancel
    program.ui.picks.push_back(PickAnswer{{}, 'A', 1});
    RunMenuCommand(program, kUploadChosenFiles);  // OK without a file
    EXPECT_EQ(program.Events(), (Strings{"GetDirectory AB 0", "Pick Run Program select|AB|DIRADIRB",
                                         "GetDirectory AB 0", "Pick |AB|DIRADIRB"}));
}

TEST(CommandWorker, ExitIsRequestedOnlyForACommandLineRunWithAutoExit) {
    struct Case {
        const char* autoExit;
        const char* commandLine;
        int exit;
    };
    for (const Case c :
         {Case{"Yes", "A A", 1}, Case{"No", "A A", 0}, Case{"Yes", "", 0}, Case{"Yes", "A E", 0}}) {
        SCOPED_TRACE(std::string(c.autoExit) + " / " + c.commandLine);
        ScriptedProgram program(std::string("[COMMAND_LINE]\r\nAUTO_EXIT=") + c.autoExit +
                                "\r\n[Communication]\r\nTerminal_type=Fenna\r\n");
        program.Start(c.commandLine);
        if (program.worker.WorkerBusy() == 0) program.controller.RunCommand(kWarmStart);
        program.worker.Join();
        EXPECT_EQ(program.worker.ExitRequested(), c.exit);
        EXPECT_EQ(program.controller.OnTimerTick(), c.exit == 1);
    }
}

TEST(CommandWorker, MenuCommandsSetTheirArgumentAndAskFirst) {
    ScriptedProgram program(kIniAB);
    program.Start("");
    program.core.State().status.connected = 1;
    // By the raw menu ids: the enum's values are the stored ids.
    auto run = [&](int menuId) {
        const bool started = program.controller.RunMenuCommand(static_cast<MenuCommand>(menuId));
        program.worker.Join();
        return started;
    };
    EXPECT_FALSE(run(32778));  // cold start, answered No
    program.ui.yesNo = {true};
    EXPECT_TRUE(run(32778));
    program.ui.dateTimeOk = false;
    EXPECT_FALSE(run(32808));  // date and time dialog cancelled
    program.ui.dateTimeOk = true;
    EXPECT_TRUE(run(32808));
    EXPECT_TRUE(run(32799));   // buzzer high
    EXPECT_TRUE(run(32848));   // directory of the flash ROM
    EXPECT_TRUE(run(32827));   // restore the system key map
    EXPECT_FALSE(run(32853));  // no stopped script to restart
    EXPECT_FALSE(run(32813));  // Stop is no worker command
    EXPECT_EQ(program.Events(),
              (Strings{"Ask Are you sure to Cold Start?", "Ask Are you sure to Cold Start?",
                       "ColdStart AB", "Date dialog", "Date dialog", "SyncTime AB set 0",
                       "SetBeeperVolume 9", "GetDirectory AB 1", "SetKeypad A"}));
}

}  // namespace
}  // namespace zelo::core
