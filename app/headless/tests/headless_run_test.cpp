#include "headless/headless_run.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "command_doubles.hpp"

namespace zelo::headless {
namespace {

using core::testing::EventLog;
using core::testing::ReportingOperations;
using core::testing::StartedInFolder;
using core::testing::WaitFor;
using test_support::TemporaryFolder;
using test_support::WriteAll;

class Headless : public ::testing::Test {
protected:
    Headless() : platform(dir.Text()) {
        WriteAll(dir.File("Zelocom.ini"),
                 "[Communication]\r\nAddress=A\r\nTerminal_type=Fenna\r\n");
    }
    int Run(const std::vector<std::string>& arguments) {
        return RunHeadless(
            ParseHeadlessOptions(arguments), platform, out, err,
            [this](core::ProgramModel& view) {
                auto ops = std::make_unique<ReportingOperations>(log, view);
                ops->blockIn = blockIn;
                operations = ops.get();
                return ops;
            },
            stopSignal);
    }
    TemporaryFolder dir;
    StartedInFolder platform;
    EventLog log;
    std::ostringstream out, err;
    std::atomic<int> stopSignal{0};
    std::string blockIn;
    std::atomic<ReportingOperations*> operations{nullptr};
};

TEST_F(Headless, SuccessWhenEveryTerminalSucceededElseFailure) {
    EXPECT_EQ(Run({"AC", "A"}), kExitSuccess);
    EXPECT_NE(out.str().find("A 09:05:07 Warm Start  Successfully\nC 09:05:07 Warm Start"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(Run({"ab", "a"}), kExitFailed);  // B timed out
    // The failed line, and no error box: nobody waits for an unattended run.
    EXPECT_NE(out.str().find("B 09:05:07 Warm Start "), std::string::npos) << out.str();
    EXPECT_EQ(err.str().find("Warm Start"), std::string::npos) << err.str();
    // The run's addresses never reach the configuration.
    EXPECT_NE(test_support::ReadAll(dir.File("Zelocom.ini")).find("Address=A\r\n"),
              std::string::npos);
}

TEST_F(Headless, SignalStopsTheCommandAndTheProgramEndsCleanly) {
    blockIn = "Poll";
    std::thread signal([this] {
        ASSERT_TRUE(WaitFor([this] {
            auto* ops = operations.load();
            return ops != nullptr && ops->blocking.load() == 1;
        }));
        stopSignal = 1;
    });
    EXPECT_EQ(Run({"--poll-data", "-", "B", "1"}), kExitFailed);
    signal.join();
    EXPECT_NE(out.str().find(" Stop communication "), std::string::npos) << out.str();
    const std::vector<std::string> events = log.Events();
    EXPECT_EQ(events.back(), "Disconnect 1");  // the line is closed at the end
}

TEST_F(Headless, OptionsAreReadBeforeTheCommandLineOnly) {
    const HeadlessOptions options = ParseHeadlessOptions({"--poll-data", "p.dat", "A", "--help"});
    EXPECT_FALSE(options.help);
    EXPECT_EQ(options.pollDataPath, "p.dat");
    EXPECT_EQ(options.commandLine, "A --help");
    EXPECT_FALSE(ParseHeadlessOptions({"--poll-data"}).error.empty());
}

}  // namespace
}  // namespace zelo::headless
