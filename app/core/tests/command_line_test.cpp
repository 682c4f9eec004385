#include "core/command_line.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "command_doubles.hpp"

namespace zelo::core {
namespace {

using test_support::WriteAll;
using testing::kIniAB;
using testing::ScriptedProgram;
using Strings = std::vector<std::string>;

// Starts the program with `commandLine` and waits for what it started.
std::vector<std::string> RunCommandLine(ScriptedProgram& program, const std::string& commandLine,
                                        CommandLineResult expected) {
    EXPECT_EQ(program.Start(commandLine), expected);
    program.worker.Join();
    return program.Events();
}

TEST(CommandLine, FormsRunTheirCommandForTheGivenAddresses) {
    {
        ScriptedProgram program(kIniAB);
        EXPECT_EQ(RunCommandLine(program, "a 1", CommandLineResult::kStarted),
                  (Strings{"Connect A", "Poll A POLL.DAT"}));
    }
    {
        ScriptedProgram program(kIniAB);
        // A set time left by the date and time dialog: the command line
        // still sends the PC's clock.
        program.core.State().timeSync.useSetTime = true;
        EXPECT_EQ(RunCommandLine(program, "AB M", CommandLineResult::kStarted),
                  (Strings{"Connect AB", "SyncTime AB set 0"}));
        EXPECT_EQ(program.worker.ExitRequested(), 1);
    }
    {
        ScriptedProgram program(kIniAB);
        EXPECT_EQ(RunCommandLine(program, "B l PC.DAT T.DAT 3", CommandLineResult::kStarted),
                  (Strings{"Connect B", "DownloadByCommandLine B B,L,PC.DAT,T.DAT,3"}));
    }
    {
        ScriptedProgram program(kIniAB);
        EXPECT_EQ(RunCommandLine(program, "AB X prog.exe", CommandLineResult::kStarted),
                  (Strings{"Connect AB", "RunProgram AB   all 1 rom 0 prog.exe"}));
    }
}

TEST(CommandLine, UnusableFormsRunNothingAndLeaveTheAddressesInEffect) {
    for (const char* line : {"A E", "A Q", "A L ONE.DAT", "A"}) {
        SCOPED_TRACE(line);
        ScriptedProgram program(kIniAB);
        EXPECT_TRUE(RunCommandLine(program, line, CommandLineResult::kUnusable).empty());
        EXPECT_EQ(program.core.State().status.commandLineMode, 0);
        EXPECT_EQ(program.core.State().comm.addresses, "A");
        EXPECT_EQ(program.worker.ExitRequested(), 0);
        EXPECT_EQ(DecideExitStatus(program.controller.Summary()), kExitUsage);
        // The window stays for the user: once he runs a command himself,
        // the session is an interactive one and ends as one does.
        ASSERT_TRUE(program.controller.RunMenuCommand(MenuCommand::kWarmStart));
        program.worker.Join();
        EXPECT_EQ(DecideExitStatus(program.controller.Summary()), kExitSuccess);
    }
}

TEST(CommandLine, WithTheModemTheFirstPieceIsThePhoneNumber) {
    const std::string modem = std::string(kIniAB) + "[Modem]\r\nUse_modem=Yes\r\n";
    ScriptedProgram program(modem);
    // A is taken as the number and 1 as the address list: nothing runs.
    EXPECT_TRUE(RunCommandLine(program, "A 1", CommandLineResult::kUnusable).empty());
    EXPECT_EQ(program.core.State().commandLine.phoneNumber, "A");
}

TEST(CommandLine, BeyondTheLimitsIsRefusedWithAReasonNotCut) {
    const std::string longName(20, 'N');
    const struct {
        std::string line;
        std::string reason;
    } cases[] = {
        {"A 1" + std::string(97, ' '), "longer than 99 characters"},
        {"A L a b c d", "more than 5 parts"},
        {std::string(40, 'A') + " 1", "longer than 39 terminals"},
        {"A E " + longName, "longer than 19 characters; nothing was erased"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ScriptedProgram program(kIniAB);
        const Strings events = RunCommandLine(program, c.line, CommandLineResult::kRefused);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_NE(events[0].find(c.reason), std::string::npos) << events[0];
        EXPECT_EQ(program.core.State().status.commandLineMode, 0);
    }
    ScriptedProgram program(kIniAB);
    program.core.State().status.connected = 1;
    EXPECT_EQ(
        RunCommandLine(program, "A E " + longName.substr(1), CommandLineResult::kStarted).back(),
        "PurgeFiles A   all 1 " + longName.substr(1) + " []");
}

TEST(CommandLine, SaveKeepsTheConfiguredValuesButTheFoundSpeed) {
    ScriptedProgram program(std::string(kIniAB) + "[Delete_File]\r\nDelete_File1=KEEP.DAT\r\n");
    program.ops.baudFoundOnConnect = 8;  // the speed search settles on 38400
    RunCommandLine(program, "C E RUN.DAT", CommandLineResult::kStarted);
    EXPECT_EQ(program.core.State().comm.addresses, "C");
    program.core.ShutDown();
    const std::string ini = program.Ini();
    EXPECT_NE(ini.find("Address=AB"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Delete_File1=KEEP.DAT"), std::string::npos) << ini;
    EXPECT_NE(ini.find("BaudRate=38400"), std::string::npos) << ini;
    EXPECT_GE(program.view.saves, 1);  // the speed was saved when it was found
}

TEST(ScriptLine, SplitsAtBlanksAndLineEndsAndKeepsFiveTokens) {
    EXPECT_EQ(SplitScriptLine("AB M\n"), (Strings{"AB", "M"}));
    EXPECT_EQ(SplitScriptLine("A L a.dat  b.dat\r\n"), (Strings{"A", "L", "a.dat", "b.dat"}));
    EXPECT_EQ(SplitScriptLine("A L 1 2 3 4 5\n").size(), 5u);
    EXPECT_TRUE(SplitScriptLine(" \r\n").empty());
}

class Script : public ::testing::Test {
protected:
    std::vector<std::string> RunScript(const std::string& text) {
        WriteAll(program.dir.File("run.zsc"), text);
        program.core.State().status.connected = 1;
        EXPECT_EQ(program.Start("Z " + program.dir.File("run.zsc")), CommandLineResult::kStarted);
        program.worker.Join();
        return program.Events();
    }
    ScriptedProgram program{kIniAB};
};

TEST_F(Script, TwoLinesRunInOrderThenTheProgramCloses) {
    EXPECT_EQ(RunScript("A 1\nAB M\n"), (Strings{"Poll A POLL.DAT", "SyncTime AB set 0"}));
    EXPECT_EQ(program.worker.ExitRequested(), 1);
    EXPECT_EQ(program.core.State().commandLine.autoExit, 1);
}

TEST_F(Script, LowerCaseLastLineRunsNothingAndKeepsTheProgramOpen) {
    EXPECT_EQ(RunScript("A 1\nAB m\n"), (Strings{"Poll A POLL.DAT"}));
    EXPECT_EQ(program.core.State().status.commandLineMode, 0);
    EXPECT_EQ(program.worker.ExitRequested(), 0);
}

TEST_F(Script, SingleTokenLineRunsNothingAndDoesNotRepeatTheLastCommand) {
    EXPECT_EQ(RunScript("A 1\nB\n"), (Strings{"Poll A POLL.DAT"}));
    EXPECT_EQ(program.core.State().status.commandLineMode, 0);
    EXPECT_EQ(program.core.State().commandLine.tokens[1], "");
}

TEST_F(Script, LineLongerThan99IsRefusedWholeWithItsNumber) {
    // Read in pieces of 99, the tail "B A" would run as a line of its own.
    std::string line = "A 1";
    line.resize(99, ' ');
    line += "B A";
    const Strings events = RunScript("AB M\n" + line + "\r\nB A\n");
    EXPECT_EQ(events, (Strings{"SyncTime AB set 0", "WarmStart B"}));
    // A run that closes by itself tells it beside the result lines, not in a box.
    EXPECT_EQ(program.view.notes,
              Strings{"Script line 2 is longer than 99 characters; nothing of it was run."});
    EXPECT_TRUE(program.worker.LastOutcome().scriptLineRefused);
}

TEST_F(Script, OnlyARegularFileIsReadAsAScript) {
    // A folder, a device that never ends: each is refused at once.
    std::filesystem::create_directory(program.dir.File("folder.zsc"));
    for (const std::string& name : {program.dir.File("folder.zsc"), std::string("/dev/zero")}) {
        program.Start("Z " + name);
        program.worker.Join();
        EXPECT_EQ(program.Events().back(),
                  "Box Can't read the script " + name +
                      ": it is not a regular file, cannot be read, or is larger than 1048576 "
                      "bytes.");
        EXPECT_TRUE(program.worker.LastOutcome().scriptMissing);
    }
}

TEST(ScriptLines, NumberedWithoutTheirEndsAndLongOnesMarked) {
    const std::string fits(99, 'x');
    const auto lines = ScriptLinesOf("A 1\r\n\n" + fits + "\r\n" + fits + "y\nlast");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "A 1");
    EXPECT_EQ(lines[1].text, "");
    EXPECT_EQ(lines[2].text, fits);
    EXPECT_FALSE(lines[2].tooLong);
    EXPECT_TRUE(lines[3].tooLong);
    EXPECT_EQ(lines[3].text, "");
    EXPECT_EQ(lines[3].number, 4u);
    EXPECT_EQ(lines[4].text, "last");
}

TEST_F(Script, LinesBeyondTheLimitsAreSkippedWithAReason) {
    const Strings events =
        RunScript(std::string(40, 'A') + " 1\nA E " + std::string(20, 'N') + "\nB E SHORT.DAT X\n");
    EXPECT_EQ(events, Strings{"PurgeFiles B   all 1 SHORT.DAT []"});
    const Strings& notes = program.view.notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("longer than 39 terminals"), std::string::npos);
    EXPECT_NE(notes[1].find("longer than 19 characters"), std::string::npos);
}

TEST_F(Script, LineThatCannotConnectIsSkippedAndTheScriptGoesOn) {
    program.ops.connectSucceeds = false;
    WriteAll(program.dir.File("run.zsc"), "A A\nB A\n");
    program.Start("Z " + program.dir.File("run.zsc"));
    program.worker.Join();
    EXPECT_EQ(program.Events(), (Strings{"Connect A", "Connect B"}));
}

TEST_F(Script, MissingFileSaysSoAndLeavesAutoExitAsConfigured) {
    program.Start("Z " + program.dir.File("nope.zsc"));
    program.worker.Join();
    EXPECT_EQ(program.Events(),
              (Strings{"Box Can't found this file " + program.dir.File("nope.zsc") + " !"}));
    EXPECT_TRUE(program.worker.LastOutcome().scriptMissing);
    EXPECT_EQ(program.core.State().status.commandLineMode, 0);
    EXPECT_EQ(program.worker.ExitRequested(), 0);
    program.core.ShutDown();
    EXPECT_NE(program.Ini().find("AUTO_EXIT=Yes"), std::string::npos);
}

TEST_F(Script, SaveDuringAScriptKeepsTheConfiguredAddressesAndAutoExit) {
    program.ops.baudFoundOnConnect = 7;
    program.core.State().status.connected = 0;
    WriteAll(program.dir.File("run.zsc"), "C A\n");
    program.Start("Z " + program.dir.File("run.zsc"));
    program.worker.Join();
    const std::string ini = program.Ini();  // written when the speed was found
    EXPECT_NE(ini.find("Address=AB"), std::string::npos) << ini;
    EXPECT_NE(ini.find("AUTO_EXIT=Yes"), std::string::npos) << ini;
    EXPECT_NE(ini.find("BaudRate=19200"), std::string::npos) << ini;
}

}  // namespace
}  // namespace zelo::core
