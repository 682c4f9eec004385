#include <algorithm>
#include <map>

#include "fake_line_test.hpp"
#include "link/poll_window.hpp"

namespace zelo::link::testing {
namespace {

using fake_pendra::Call;
using fake_pendra::Fn;

// Polling against scripted terminals: each poll takes 20 ms of the fake
// clock, and every poll's address and time of day are kept.
class PollingTest : public FileTerminalsTest {
protected:
    void SetUp() override {
        FileTerminalsTest::SetUp();
        settings.pollFileName = File("POLL.DAT");
        settings.pollingPeriod = 0;
    }

    // `answer` gives the terminal's reply to the n-th poll of an address;
    // the run is stopped at poll number `stopAt` (counted over all), which
    // the terminals answer with "no data" (the engine drops it unread).
    void Serve(std::function<fake_pendra::Reply(char address, int n)> answer, int stopAt) {
        fake_pendra::setResponder(
            [this, answer, stopAt](const Call& call) -> std::optional<fake_pendra::Reply> {
                if (call.fn == Fn::ACK) return Answer(0);
                if (call.fn != Fn::POLL) return std::nullopt;
                const char address = static_cast<char>(call.address);
                polled.push_back(address);
                pollTimes.push_back(TimeOfDayText(environment.Now()));
                environment.milliseconds += 20;
                if (static_cast<int>(polled.size()) >= stopAt) {
                    link.Stop(status);
                    return Answer(2);
                }
                return answer(address, perAddress[address]++);
            });
    }

    void RunPoll() { link.Poll(operation, settings, context); }

    // How often each address was polled among polls [from, to).
    std::map<char, int> Counts(std::size_t from, std::size_t to) const {
        std::map<char, int> counts;
        for (std::size_t i = from; i < to && i < polled.size(); ++i) ++counts[polled[i]];
        return counts;
    }

    PollSettings settings;
    PollContext context;
    std::vector<char> polled;
    std::vector<std::string> pollTimes;
    std::map<char, int> perAddress;
};

fake_pendra::Reply DataSilenceTimeOut(char address, int) {
    if (address == 'A') return Answer(1, "rec\r\n");
    if (address == 'B') return Answer(2);
    return Answer(130);
}

TEST_F(PollingTest, WeightsFollowDataSilenceAndTimeOuts) {
    Serve(DataSilenceTimeOut, 70);
    RunPoll();

    // Cycle 1: every address starts with 16 polls; the one that timed out
    // loses the rest. Then the silent one has fallen to one poll per cycle.
    EXPECT_EQ(Counts(0, 33), (std::map<char, int>{{'A', 16}, {'B', 16}, {'C', 1}}));
    EXPECT_EQ(Counts(33, 51), (std::map<char, int>{{'A', 16}, {'B', 1}, {'C', 1}}));
    EXPECT_EQ(Counts(51, 69), (std::map<char, int>{{'A', 16}, {'B', 1}, {'C', 1}}));
    EXPECT_EQ(link.lines, std::vector<std::string>(3, "C|Poll||4"));

    // The 70th poll was stopped: its record is neither stored nor shown.
    EXPECT_EQ(link.records.size(), 48u);
    std::string expected;
    for (int i = 0; i < 48; ++i) expected += "A rec\r\n";
    EXPECT_EQ(ReadAll(settings.pollFileName), expected);
    EXPECT_EQ(status.pollFileOpen, 1);
    EXPECT_EQ(progress.mode, kProgressPolling);
    EXPECT_EQ(progress.addressStatus[0], kStatusWorking);  // in progress when stopped
    EXPECT_EQ(progress.addressStatus[2], kStatusTimeOut);
}

TEST_F(PollingTest, TimeOutLineEveryMaxErrorInARow) {
    comm.addresses = "C";
    for (const auto& [maxError, lines] : {std::pair{2, 3}, std::pair{0, 6}, std::pair{3, 2}}) {
        link.lines.clear();
        polled.clear();
        perAddress.clear();
        link.ClearStop();
        settings.maxError = maxError;
        Serve(DataSilenceTimeOut, 7);
        RunPoll();
        // Six time-outs counted; the seventh poll was stopped.
        EXPECT_EQ(link.lines.size(), static_cast<std::size_t>(lines)) << "MaxError " << maxError;
    }
}

TEST_F(PollingTest, OneNakIsSilentTwoInARowWriteALine) {
    comm.addresses = "A";
    const std::vector<int16_t> script = {5, 1, 5, 5, 2};
    Serve([&script](char, int n) { return Answer(script[static_cast<std::size_t>(n)], "r"); }, 6);
    RunPoll();
    EXPECT_EQ(link.lines, std::vector<std::string>{"A|Poll||3"});
}

TEST_F(PollingTest, SpecifyPollsOnlyInsideAWindowAcrossMidnight) {
    settings.pollingPeriod = 1;
    settings.startTime = "22:00:00";
    settings.stopTime = "06:00:00";
    comm.addresses = "A";
    Serve([](char, int) { return Answer(2); }, 1 << 30);
    for (const auto& [hour, minute, second] :
         {std::tuple{21, 59, 58}, std::tuple{5, 59, 58}, std::tuple{12, 0, 0}}) {
        polled.clear();
        pollTimes.clear();
        link.ClearStop();
        environment.SetTimeOfDay(hour, minute, second);
        const long long end = environment.milliseconds + 6000;
        link.onRefresh = [&] {
            if (environment.milliseconds >= end) link.Stop(status);
        };
        RunPoll();
        for (const std::string& time : pollTimes)
            EXPECT_TRUE(time >= "22:00:00" || time <= "06:00:00") << time;
        EXPECT_EQ(pollTimes.empty(), hour == 12) << hour;
    }
}

TEST_F(PollingTest, EndsAfterMaxWaitWithoutDataAndClosesTheFile) {
    settings.pollingPeriod = 2;
    settings.pollMaxWait = 10;
    comm.addresses = "A";
    long long lastRecordAt = 0;
    Serve(
        [&](char, int n) {
            if (n >= 5) return Answer(2);
            lastRecordAt = environment.milliseconds;
            return Answer(1, "r");
        },
        100000);
    RunPoll();

    const long long quiet = environment.milliseconds - lastRecordAt;
    EXPECT_GE(quiet, 10000);
    EXPECT_LE(quiet, 12000);
    EXPECT_EQ(link.IsStopRequested(), 0);
    EXPECT_EQ(status.pollFileOpen, 0);
    EXPECT_EQ(status.idle, 1);
    EXPECT_EQ(environment.openPollFiles, 0);
    EXPECT_EQ(ReadAll(settings.pollFileName), "A rA rA rA rA r");
}

TEST_F(PollingTest, RePollPausesBetweenSinglePollsUntilDataComes) {
    settings.pollingPeriod = 3;
    settings.rePollNoData = 30;
    settings.rePollTime = 60;
    comm.addresses = "A";
    std::vector<long long> at;
    Serve(
        [&](char, int) {
            at.push_back(environment.milliseconds);
            // Data again once the clock passes 250 s.
            return environment.milliseconds > 250000 ? Answer(1, "r") : Answer(2);
        },
        1 << 30);
    link.onRefresh = [&] {
        if (environment.milliseconds > 290000) link.Stop(status);
    };
    RunPoll();

    // No data for 30 s starts the pause; then one poll per RePoll_Time.
    std::vector<long long> paused;
    for (long long t : at)
        if (t > 32000 && t < 250000) paused.push_back(t);
    ASSERT_EQ(paused.size(), 3u);
    EXPECT_NEAR(static_cast<double>(paused[0]), 92000.0, 1500.0);
    for (std::size_t i = 1; i < paused.size(); ++i)
        EXPECT_NEAR(static_cast<double>(paused[i] - paused[i - 1]), 61000.0, 1000.0);
    // Data ends the pause: polls follow each other again.
    EXPECT_GT(std::count_if(at.begin(), at.end(), [](long long t) { return t > 250000; }), 3);
}

TEST_F(PollingTest, NewEmptiesTheFileEachRunAppendKeepsIt) {
    settings.pollingPeriod = 2;
    settings.pollMaxWait = 1;
    comm.addresses = "A";
    WriteAll(settings.pollFileName, "OLD\r\n");
    const auto oneRecord = [](char, int n) { return n == 0 ? Answer(1, "x\r\n") : Answer(2); };

    Serve(oneRecord, 1 << 30);
    RunPoll();
    EXPECT_EQ(ReadAll(settings.pollFileName), "OLD\r\nA x\r\n");

    perAddress.clear();
    settings.openMethod = 1;
    RunPoll();
    EXPECT_EQ(ReadAll(settings.pollFileName), "A x\r\n");
    perAddress.clear();
    RunPoll();
    EXPECT_EQ(ReadAll(settings.pollFileName), "A x\r\n");
}

TEST_F(PollingTest, RecordsAreStoredExactlyAsReceivedAndBounded) {
    comm.addresses = "A";
    const std::vector<std::string> records = {"one\r\n", "two", "three\r\n", std::string(128, 'x')};
    Serve([&](char, int n) { return Answer(1, records[static_cast<std::size_t>(n)]); }, 5);
    RunPoll();
    const std::string stored = ReadAll(settings.pollFileName);
    const std::string head = "A one\r\nA twoA three\r\nA ";
    ASSERT_EQ(stored.substr(0, head.size()), head);
    // A record too long for the library's buffer keeps what fits, ends its
    // own line so the next record does not run on from it, and is reported.
    EXPECT_EQ(stored.substr(head.size()), std::string(127, 'x') + "\r\n");
    EXPECT_EQ(link.lines,
              (std::vector<std::string>{
                  "A|Poll|Poll record longer than 127 bytes; only its first 127 kept|5"}));
    EXPECT_EQ(settings.notAppendCrLf, 1);
}

TEST_F(PollingTest, AStoppedRunsFileIsClosedBeforeTheNextRunOpensIt) {
    comm.addresses = "A";
    Serve([](char, int) { return Answer(1, "r"); }, 3);
    RunPoll();
    EXPECT_EQ(environment.openPollFiles, 1);

    link.ClearStop();
    polled.clear();
    RunPoll();
    EXPECT_EQ(environment.openPollFiles, 1);
    // Two records per run; nothing written twice through an old handle.
    EXPECT_EQ(ReadAll(settings.pollFileName), "A rA rA rA r");
}

TEST_F(PollingTest, AppendNeverTruncatesAFileItCannotOpen) {
    WriteAll(settings.pollFileName, "KEEP");
    environment.failAppendOpen = true;
    Serve([](char, int) { return Answer(1, "r"); }, 1);
    RunPoll();
    EXPECT_EQ(link.boxes, std::vector<std::string>{"Poll Data file open error"});
    EXPECT_EQ(environment.createEmptyCalls, 0);
    EXPECT_EQ(ReadAll(settings.pollFileName), "KEEP");
    EXPECT_TRUE(polled.empty());
    EXPECT_EQ(status.pollFileOpen, 0);
}

TEST_F(PollingTest, AFailedWriteEndsTheRunWithALine) {
    environment.pollWritesLeft = 1;
    Serve([](char, int) { return Answer(1, "r"); }, 1000);
    RunPoll();
    // A's first record is stored, B's is not: the run ends there.
    EXPECT_EQ(polled, (std::vector<char>{'A', 'B'}));
    EXPECT_EQ(link.lines, std::vector<std::string>{"B|Poll|Poll Data file write error|1"});
    EXPECT_EQ(link.records, std::vector<std::string>{"A r"});
    EXPECT_EQ(status.pollFileOpen, 0);
    EXPECT_EQ(status.idle, 1);
    EXPECT_EQ(environment.openPollFiles, 0);
}

TEST_F(PollingTest, NoAddressSelectedPausesEachPass) {
    settings.pollingPeriod = 2;
    for (auto& selected : progress.addressSelected) selected = 0;
    link.onRefresh = [&] {
        if (environment.milliseconds >= 1000 || link.refreshes > 10000) link.Stop(status);
    };
    RunPoll();
    EXPECT_EQ(fake_pendra::count(Fn::POLL), 0);
    EXPECT_GE(environment.milliseconds, 1000);
}

TEST_F(PollingTest, ClockSyncOnceInsideItsWindow) {
    settings.pollingPeriod = 2;
    settings.pollMaxWait = 20;
    settings.autoTimeSync = 2;
    settings.autoSyncStart = "09:00:05";
    settings.autoSyncStop = "09:00:10";
    comm.addresses = "AB";
    Serve([](char, int) { return Answer(2); }, 1 << 30);
    RunPoll();

    std::vector<std::string> clockRequests;
    for (const Call& call : fake_pendra::callsOf(Fn::DBG))
        if (!call.request.empty() && call.request[0] == 'M') clockRequests.push_back(call.request);
    ASSERT_EQ(clockRequests.size(), 2u);
    EXPECT_EQ(clockRequests[0].substr(0, 13), "M202612080900");
    EXPECT_GE(clockRequests[0].substr(13, 2), "05");
    EXPECT_EQ(link.lines.size(), 2u);
    EXPECT_EQ(link.lines[0].substr(0, 13), "A|Time Sync.|");
}

// A Stop while the clocks are set at the start ends the run there: no
// further terminal is asked, nothing is polled and no poll file opened.
TEST_F(PollingTest, StopWhileSettingTheClocksAtTheStartPollsNothing) {
    settings.autoTimeSync = 1;
    comm.addresses = "AB";
    fake_pendra::setResponder([this](const Call& call) -> std::optional<fake_pendra::Reply> {
        if (call.fn == Fn::DBG && !call.request.empty() && call.request[0] == 'M') {
            link.Stop(status);
        }
        return std::nullopt;
    });
    RunPoll();
    const std::vector<Call> dbg = fake_pendra::callsOf(Fn::DBG);
    EXPECT_EQ(std::count_if(dbg.begin(), dbg.end(),
                            [](const Call& c) { return c.request.rfind('M', 0) == 0; }),
              1);
    EXPECT_EQ(fake_pendra::count(Fn::POLL), 0);
    EXPECT_EQ(status.pollFileOpen, 0);
    EXPECT_TRUE(link.lines.empty());
}

TEST_F(PollingTest, ModelsWithPowerSavingPollWithItOffAndGetItBack) {
    settings.pollingPeriod = 2;
    settings.pollMaxWait = 1;
    comm.addresses = "AB";
    for (const int type : {kEstra, kBrisa}) {
        fake_pendra::reset();
        comm.terminalType = type;
        std::vector<std::string> switches;
        fake_pendra::setResponder([&](const Call& call) -> std::optional<fake_pendra::Reply> {
            if (call.fn == Fn::POLL) {
                environment.milliseconds += 100;
                return Answer(2);
            }
            if (call.fn != Fn::DBG) return std::nullopt;
            switches.push_back(static_cast<char>(call.address) + call.request);
            return Answer(4);
        });
        RunPoll();
        EXPECT_EQ(switches, (std::vector<std::string>{"A7", "B7", "A8", "B8"}));
        EXPECT_EQ(HM_get_power_saving_status(), type == kBrisa ? 0 : 1);
    }
    HM_set_power_saving_status(0);
}

TEST(PollWindow, InclusiveEndsAndWindowsAcrossMidnight) {
    EXPECT_TRUE(IsWithinWindow("22:00:00", "06:00:00", "23:30:00"));
    EXPECT_TRUE(IsWithinWindow("22:00:00", "06:00:00", "05:00:00"));
    EXPECT_FALSE(IsWithinWindow("22:00:00", "06:00:00", "12:00:00"));
    EXPECT_TRUE(IsWithinWindow("08:00:00", "17:00:00", "08:00:00"));
    EXPECT_TRUE(IsWithinWindow("08:00:00", "17:00:00", "17:00:00"));
    EXPECT_FALSE(IsWithinWindow("08:00:00", "17:00:00", "17:00:01"));
    EXPECT_TRUE(IsWithinWindow("10:00:00", "10:00:00", "03:00:00"));
}

// Stop given between a cycle's last look at the flag and the next cycle: the
// run still ends as stopped and leaves the file open, as any stopped run
// does, rather than closing it and switching power saving back on.
TEST_F(PollingTest, AStopBetweenCyclesEndsTheRunAsStopped) {
    comm.addresses = "A";
    Serve([](char, int) { return Answer(1, "r"); }, 1000);
    link.onRefresh = [this] {
        // The refresh at the end of a cycle: A's record has been taken.
        if (progress.addressStatus[0] == kStatusTransferring) link.Stop(status);
    };
    RunPoll();
    EXPECT_EQ(polled.size(), 1u);
    EXPECT_EQ(status.pollFileOpen, 1);
}

}  // namespace
}  // namespace zelo::link::testing
