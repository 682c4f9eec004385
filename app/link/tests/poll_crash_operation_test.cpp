// A power cut at every point of polling numbered records: the polling engine
// over the real terminal library, terminals that number their records behind
// the fake link layer, and files that keep only what was synced. After each
// crash no record the terminals let go may be missing from what survived,
// and a run after it must leave every record in the file exactly once.
#include <deque>
#include <map>

#include "crash_simulating_platform.hpp"
#include "fake_line_test.hpp"

namespace zelo::link::testing {
namespace {

using fake_pendra::Call;
using fake_pendra::Fn;

// The crash-simulating files with a clock that moves only when asked.
class CrashingDisk final : public platform::testing::CrashSimulatingPlatform {
public:
    std::int64_t Seconds() override { return milliseconds / 1000; }
    void Sleep(int ms) override { milliseconds += ms; }
    long long milliseconds = 0;
};

// A terminal's records 1..n, batches of up to four; the link layer's side
// as the real one keeps it: the batch held, and the number the host last
// reported stored, which the next batch request carries to the terminal.
struct NumberingTerminal {
    std::vector<std::string> records;
    uint32_t front = 1;  // the terminal has dropped the ones before
    std::deque<uint32_t> held;
    uint32_t handedOut = 0;
    uint32_t reported = 0;
};

class PollCrashTest : public FileTerminalsTest {
protected:
    void SetUp() override {
        FileTerminalsTest::SetUp();
        link.SetEnvironment(disk);
        settings.pollFileName = File("POLL.DAT");
        settings.pollingPeriod = 2;  // ends a second after the last record
        settings.pollMaxWait = 1;
        comm.addresses = "AB";
        for (const char address : {'A', 'B'}) {
            for (int n = 1; n <= 10; ++n)
                terminals[address].records.push_back(std::string(1, address) + "-" +
                                                     std::to_string(n) + "\r\n");
        }
        fake_pendra::setResponder([this](const Call& call) -> std::optional<fake_pendra::Reply> {
            if (call.fn == Fn::ACK) return Answer(4);
            if (call.fn != Fn::POLL) return std::nullopt;
            disk.milliseconds += 100;
            NumberingTerminal& terminal = terminals[static_cast<char>(call.address)];
            if (terminal.held.empty()) {
                // A batch request: the terminal hears where the host stands.
                terminal.front = std::max(terminal.front, terminal.reported + 1);
                for (uint32_t n = terminal.front;
                     n < terminal.front + 4 && n <= terminal.records.size(); ++n)
                    terminal.held.push_back(n);
            }
            if (terminal.held.empty()) return Answer(3);
            terminal.handedOut = terminal.held.front();
            terminal.held.pop_front();
            return Answer(1, terminal.records[terminal.handedOut - 1]);
        });
        fake_pendra::setPollNumbering(
            {[this](int16_t a) {
                 const NumberingTerminal& terminal = terminals[static_cast<char>(a)];
                 return std::pair<uint32_t, uint8_t>(terminal.handedOut,
                                                     static_cast<uint8_t>(terminal.held.size()));
             },
             [this](int16_t a, uint32_t number) {
                 terminals[static_cast<char>(a)].reported = number;
             }});
    }
    void TearDown() override {
        fake_pendra::setPollNumbering({});
        FileTerminalsTest::TearDown();
    }

    // A new process: nothing of the last one's link or records is left.
    void RunPoll() {
        for (auto& [address, terminal] : terminals) {
            terminal.held.clear();
            terminal.handedOut = 0;
            terminal.reported = 0;
        }
        PollContext context;
        link.ClearStop();
        link.Poll(operation, settings, context);
    }

    // Every record a terminal has let go is in `file` once, in order, and
    // nothing else but records is.
    void ExpectHeld(const std::string& file, bool all, const std::string& when) {
        std::string rest = file;
        std::map<char, uint32_t> next{{'A', 1}, {'B', 1}};
        while (!rest.empty()) {
            const char address = rest[0];
            NumberingTerminal& terminal = terminals[address];
            const std::string& record = terminal.records.at(next[address] - 1);
            ASSERT_EQ(rest.substr(0, record.size() + 2), std::string(1, address) + " " + record)
                << when;
            rest.erase(0, record.size() + 2);
            ++next[address];
        }
        for (const auto& [address, terminal] : terminals) {
            EXPECT_GE(next[address], all ? terminal.records.size() + 1 : terminal.front)
                << address << " " << when;
        }
    }

    CrashingDisk disk;
    PollSettings settings;
    std::map<char, NumberingTerminal> terminals;
};

TEST_F(PollCrashTest, ACrashAtAnyPointLosesNoRecordLetGoAndRepeatsNone) {
    RunPoll();
    ExpectHeld(ReadAll(settings.pollFileName), true, "without a crash");
    const long changes = disk.Changes();
    // Two batches per terminal: the polled-data file is synced four times,
    // not once per record.
    ASSERT_GT(changes, 20);

    for (long crashAt = 1; crashAt <= changes; ++crashAt) {
        std::filesystem::remove(settings.pollFileName);
        std::filesystem::remove(settings.pollFileName + ".numbers");
        for (auto& [address, terminal] : terminals) terminal.front = 1;
        disk = CrashingDisk{};

        disk.CrashAtChange(crashAt);
        RunPoll();
        disk.Crash();
        const std::string when = "crash at change " + std::to_string(crashAt);
        ExpectHeld(ReadAll(settings.pollFileName), false, when);
        RunPoll();
        ExpectHeld(ReadAll(settings.pollFileName), true, when + ", then a whole run");
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace zelo::link::testing
