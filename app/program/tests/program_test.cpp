#include "program/program.hpp"

#include <gtest/gtest.h>

#include "command_doubles.hpp"

namespace zelo::program {
namespace {

using core::testing::EventLog;
using core::testing::ScriptedOperations;
using core::testing::StartedInFolder;
using test_support::ReadAll;
using test_support::TemporaryFolder;
using test_support::WriteAll;
using Strings = std::vector<std::string>;

// A front-end that answers nothing and records the lines it is shown.
class QuietFrontEnd : public core::FrontEnd {
public:
    void AppendToMessageWindow(std::string line) override { lines.push_back(line); }
    void HandlePollRecord(char, std::string) override {}
    void RefreshProgress(bool) override {}
    void ShowMessageBox(std::string) override {}
    void SaveConfiguration() override {}
    void OpenTerminalDialog() override {}
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<core::PickAnswer> PickTerminalFiles(const core::PickRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseDialNumber(const core::PhoneBook&) override {
        return std::nullopt;
    }
    bool ChooseDateTime(core::TimeSyncRequest&) override { return false; }

    std::vector<std::string> lines;
};

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() : platform(dir.Text()) {
        WriteAll(dir.File("Zelocom.ini"),
                 "[Communication]\r\nAddress=AB\r\nTerminal_type=Fenna\r\nErrorLog=New\r\n"
                 "[COMMAND_LINE]\r\nAUTO_EXIT=No\r\n");
    }
    OperationsFactory Scripted() {
        return [this](core::ProgramModel&) {
            auto ops = std::make_unique<ScriptedOperations>(log);
            operations = ops.get();
            return ops;
        };
    }

    TemporaryFolder dir;
    StartedInFolder platform;
    QuietFrontEnd frontEnd;
    EventLog log;
    ScriptedOperations* operations = nullptr;
};

TEST_F(ProgramTest, PartsAreWiredTogetherAndShutDownClosesTheLineOnce) {
    Program program(platform, frontEnd, Scripted());
    EXPECT_EQ(&program.Operations(), operations);
    program.Controller().StartUp("");
    ASSERT_TRUE(program.Controller().RunCommand(core::kWarmStart));
    program.Worker().Join();
    EXPECT_EQ(program.View().State().status.connected, 1);

    // A run-only address list is not what the end saves.
    program.View().State().comm.addresses = "C";
    program.View().Link().ShowResult('A', "Logged", "", 4);
    program.ShutDown();
    program.ShutDown();
    EXPECT_EQ(log.Events(), (Strings{"Connect AB", "WarmStart AB", "Disconnect 1"}));
    EXPECT_EQ(program.View().State().status.connected, 0);
    EXPECT_NE(ReadAll(dir.File("Zelocom.ini")).find("Address=C"), std::string::npos);
    // The log was closed: what it holds is on disk.
    EXPECT_NE(ReadAll(dir.File("ERR_LOG.TXT")).find("Logged"), std::string::npos);
}

TEST_F(ProgramTest, ShutDownLeavesAClosedLineAlone) {
    Program program(platform, frontEnd, Scripted());
    program.Controller().StartUp("");
    program.ShutDown();
    EXPECT_TRUE(log.Events().empty());
}

TEST_F(ProgramTest, EndingRightAfterACommandStartsWaitsForItsWorker) {
    // Under the sanitizers a worker outliving its program shows as a use
    // after free.
    for (int i = 0; i < 20; ++i) {
        Program program(platform, frontEnd, Scripted());
        program.Controller().StartUp("");
        ASSERT_TRUE(program.Controller().RunCommand(core::kWarmStart));
    }
    EXPECT_EQ(log.Events().size(), 40u);  // Connect and WarmStart, each time
}

}  // namespace
}  // namespace zelo::program
