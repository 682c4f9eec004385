#include <deque>

#include "answering_terminal.hpp"

namespace zelo::link::testing {
namespace {

using Lines = std::vector<std::string>;

// The system's environment with a clock that hands out readings in order:
// the first at the command's start, then one per terminal just before its
// request.
class ScriptedClock : public platform::SystemPlatform {
public:
    std::deque<platform::LocalTime> readings;

    platform::LocalTime Now() override {
        platform::LocalTime reading = readings.front();
        if (readings.size() > 1) readings.pop_front();
        return reading;
    }
    std::int64_t Seconds() override { return system().Seconds(); }
    void Sleep(int milliseconds) override { system().Sleep(milliseconds); }
    char PathSeparator() const override { return system().PathSeparator(); }
    bool EnsureDirectory(const std::string& path) override {
        return system().EnsureDirectory(path);
    }
    std::optional<std::int64_t> FileSize(const std::string& path) override {
        return system().FileSize(path);
    }
    std::unique_ptr<platform::AppendFile> OpenForAppend(const std::string& path) override {
        return system().OpenForAppend(path);
    }
    std::unique_ptr<platform::AppendFile> CreateEmpty(const std::string& path) override {
        return system().CreateEmpty(path);
    }

private:
    static platform::Platform& system() { return platform::System(); }
};

class SyncTimeTest : public AnsweringTerminalTest {
protected:
    void SetUp() override {
        AnsweringTerminalTest::SetUp();
        answering = {'A', 'C'};
        link.SetEnvironment(clock);
    }
    static platform::LocalTime At(int hour, int minute, int second) {
        return {
            .year = 2026, .month = 12, .day = 8, .hour = hour, .minute = minute, .second = second};
    }
    std::vector<std::string> TimesSent() {
        std::vector<std::string> sent;
        for (const Call& c : fake_pendra::callsOf(Fn::DBG)) sent.push_back(c.request);
        return sent;
    }

    ScriptedClock clock;
    std::deque<platform::LocalTime>& readings = clock.readings;
    TimeSyncRequest request{10, 30, 0, 2025, 1, 31, 1};
};

TEST_F(SyncTimeTest, SetTimeAdvancesByTheSecondsElapsed) {
    readings = {At(9, 0, 0), At(9, 0, 1), At(9, 0, 4)};
    link.SyncTime(operation, request);
    EXPECT_EQ(TimesSent(), (std::vector<std::string>{"M20250131103001", "M20250131103004"}));
    EXPECT_EQ(link.written, (Lines{"A Time Sync. 20250131103001 Successfully",
                                   "C Time Sync. 20250131103004 Successfully"}));
    EXPECT_EQ(request.second, 4);
    EXPECT_EQ(progress.addressStatus[2], kStatusDone);
}

TEST_F(SyncTimeTest, TimePastMidnightStaysWithinTheDayAndKeepsTheDate) {
    request = {23, 59, 58, 2025, 1, 31, 1};
    readings = {At(10, 0, 0), At(10, 0, 1), At(10, 0, 3)};
    link.SyncTime(operation, request);
    EXPECT_EQ(TimesSent(), (std::vector<std::string>{"M20250131235959", "M20250131000001"}));
    EXPECT_EQ(request.hour, 0);
    EXPECT_EQ(request.minute, 0);
    EXPECT_EQ(request.second, 1);

    // The PC clock passing midnight during the command makes t negative.
    fake_pendra::reset();
    SetResponder();
    request = {0, 0, 0, 2025, 1, 31, 1};
    readings = {At(23, 59, 59), At(0, 0, 1), At(0, 0, 2)};
    link.SyncTime(operation, request);
    EXPECT_EQ(TimesSent(), (std::vector<std::string>{"M20250131000002", "M20250131000003"}));
}

TEST_F(SyncTimeTest, CommandLineModeAndThePcClockOptionSendThePcTime) {
    readings = {At(9, 0, 0), At(9, 0, 1), At(9, 0, 2)};
    status.commandLineMode = 1;
    link.SyncTime(operation, request);
    EXPECT_EQ(TimesSent(), (std::vector<std::string>{"M20261208090001", "M20261208090002"}));
    EXPECT_EQ(request.hour, 10);  // the set time is left as it was
}

TEST_F(AnsweringTerminalTest, LineTestSendsAThousandNumberedPackets) {
    link.LineTest(status);
    // The raw character functions read nothing, so every packet times out.
    ASSERT_EQ(link.written.size(), 2003u);
    EXPECT_EQ(link.written.front(), "A 3  Successfully");
    EXPECT_EQ(link.written[1], "A  Time out  Successfully");
    EXPECT_EQ(link.written[2], "A Pack          1  Successfully");
    EXPECT_EQ(link.written[2000], "A Pack       1000  Successfully");
    EXPECT_EQ(link.written[2001], "A 4  Successfully");
    EXPECT_EQ(link.written[2002], "A 5  Successfully");
    EXPECT_EQ(status.idle, 1);
    EXPECT_TRUE(fake_pendra::calls().empty());
}

TEST_F(AnsweringTerminalTest, LineTestStopsWhenAsked) {
    link.onResult = [&](std::size_t count) {
        if (count == 10) {
            status.idle = 1;
            link.RequestStop();
        }
    };
    link.LineTest(status);
    EXPECT_EQ(link.written.size(), 10u);
}

}  // namespace
}  // namespace zelo::link::testing
