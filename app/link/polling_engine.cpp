#include <zelodll.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "link/poll_file.hpp"
#include "link/poll_window.hpp"
#include "link/terminal_link.hpp"

namespace zelo::link {
namespace {

constexpr int kMostWeight = 16;
constexpr int kPauseMs = 100;

enum PollingPeriod : int { kContinuous = 0, kSpecify = 1, kEndWhenNoData = 2, kRePoll = 3 };
enum AutoTimeSync : int { kSyncNone = 0, kSyncAtStart = 1, kSyncInWindow = 2 };

// Counters that live for one run, one per address position. Addresses with
// data keep a high weight and are asked up to 16 times per cycle; silent ones
// fall to one poll per cycle.
struct PollCounters {
    PollCounters() {
        quota.fill(kMostWeight);
        weight.fill(kMostWeight);
    }
    std::array<int, kAddressSlots> quota{};
    std::array<int, kAddressSlots> weight{};
    std::array<int, kAddressSlots> naks{};
    std::array<int, kAddressSlots> timeOuts{};

    void Raise(std::size_t k) { weight[k] = std::min(weight[k] + 1, kMostWeight); }
};

// The power-saving state polling leaves behind on models that use it: on,
// except in the library for the Brisa.
void RestorePowerSaving(CTerminalLink& link, const OperationContext& operation) {
    const int terminalType = operation.settings.terminalType;
    if (terminalType < kEstra) return;
    link.SetPowerSaving(operation, true);
    HM_set_power_saving_status(terminalType == kBrisa ? 0 : 1);
}

std::string LastRecordTimeText(const platform::LocalTime& now) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d  ", now.hour, now.minute, now.second);
    return text;
}

// The record as text, never read past the library's buffer even when no
// zero ends it there.
std::string_view RecordText(const std::array<char, ZELO_POLL_RECORD_SIZE>& record) {
    return {record.data(), ::strnlen(record.data(), record.size())};
}

// What the handling of one poll's result reaches.
struct PollTurn {
    PollSettings& settings;
    PollContext& context;
    ProgressState& progress;
    platform::Platform& environment;
    PollCounters& counters;
    std::int64_t& lastDataTime;
};

// What one poll's result does to the address's counters and status; false
// when a record could not be stored.
// A record's number from the terminal (0: not numbered) and how many more
// of its records the library holds.
struct RecordNumber {
    uint32_t number = 0;
    int32_t held = 0;
};

// The records go to stable storage, and the terminals may drop them, once
// per batch: when the library holds no more of that terminal's records
// (its next poll asks the line and says where the host stands), and at
// the latest after a bounded number of records not numbered.
bool StoreAndCommit(PollContext& context, char address, std::string_view record,
                    RecordNumber number) {
    if (!StorePollRecord(context, address, record, number.number)) return false;
    const bool batchEnds = number.number != 0 && number.held == 0;
    if (!batchEnds && context.numbers->Uncommitted() < PollNumbers::kMostUncommitted) return true;
    return CommitPollRecords(context);
}

bool TakePollResult(CTerminalLink& link, int result, char address, std::string_view text,
                    std::int32_t length, RecordNumber number, std::size_t k, PollTurn& turn) {
    switch (result) {
        case ZELO_OK: {
            // A record longer than the library's buffer arrives cut, and the
            // terminal has let it go: what arrived is stored, ended with a
            // line end of its own so that the next record does not run on
            // from it, and the loss is reported as a failure.
            const bool cut = length >= ZELO_POLL_RECORD_SIZE;
            const std::string kept = cut ? std::string(text) + "\r\n" : std::string(text);
            // A record that cannot be stored: a numbered one comes again
            // in a later run, one not numbered is lost (its terminal has let
            // it go); either way take no more from anyone.
            if (!StoreAndCommit(turn.context, address, kept, number)) {
                link.ShowResult(address, "Poll", "Poll Data file write error", 1);
                turn.progress.addressStatus[k] = kStatusFailed;
                return false;
            }
            if (cut) {
                link.ShowResult(address, "Poll",
                                "Poll record longer than " +
                                    std::to_string(ZELO_POLL_RECORD_SIZE - 1) +
                                    " bytes; only its first " +
                                    std::to_string(ZELO_POLL_RECORD_SIZE - 1) + " kept",
                                ZELO_UNKNOWN_RESPONSE);
            }
            turn.settings.notAppendCrLf = 1;
            link.ShowPollData(address, kept);
            turn.progress.addressStatus[k] = cut ? kStatusFailed : kStatusTransferring;
            turn.context.lastRecordTimes[k].Set(LastRecordTimeText(turn.environment.Now()));
            turn.lastDataTime = turn.environment.Seconds();
            turn.counters.Raise(k);
            turn.counters.naks[k] = 0;
            break;
        }
        case ZELO_NAK:
            turn.progress.addressStatus[k] = kStatusFailed;
            // One NAK is line noise; two in a row are worth a line.
            if (++turn.counters.naks[k] >= 2) link.ShowResult(address, "Poll", "", result);
            turn.counters.Raise(k);
            break;
        case ZELO_TIMEOUT:
            if (++turn.counters.timeOuts[k] >= turn.settings.maxError) {
                link.ShowResult(address, "Poll", "", result);
                turn.counters.timeOuts[k] = 0;
            }
            turn.progress.addressStatus[k] = kStatusTimeOut;
            turn.counters.weight[k] = 1;
            turn.counters.quota[k] = 0;
            turn.counters.naks[k] = 0;
            break;
        case ZELO_NO_DATA:
            if (turn.counters.weight[k] > 1) --turn.counters.weight[k];
            turn.counters.naks[k] = 0;
            break;
        default:
            turn.progress.addressStatus[k] = kStatusFailed;
            link.ShowResult(address, "Poll", "", result);
            turn.counters.Raise(k);
            turn.counters.naks[k] = 0;
            break;
    }
    return true;
}

// How one address's turn in a cycle ends.
enum class TurnEnd { kNextAddress, kEndCycle, kStopped };

// One polling run over the open polled-data file: cycles over the address
// positions, each selected address polled as often as its quota allows,
// until the period rule, a record that cannot be stored or a lost line
// ends the run, or Stop does.
class PollRun {
public:
    PollRun(CTerminalLink& link, const OperationContext& operation, PollSettings& settings,
            PollContext& context)
        : link_(link),
          operation_(operation),
          comm_(operation.settings),
          status_(operation.status),
          settings_(settings),
          context_(context),
          progress_(operation.progress),
          environment_(link.Environment()),
          lastDataTime_(environment_.Seconds()),
          turn_{settings, context, operation.progress, environment_, counters_, lastDataTime_} {}

    // Cycles until the run ends; false when it ended by Stop.
    bool Run() {
        progress_.mode = kProgressPolling;
        progress_.phase = kPhaseAtRest;
        link_.RefreshProgress(false);
        status_.idle = 0;
        while (status_.idle == 0 && !endedOnFailure_) {
            if (!Cycle()) return false;
        }
        // Stop sets the flag before it sets idle, so a Stop that came after
        // the cycle's last look still ends the run as stopped, not finished.
        return link_.IsStopRequested() == 0;
    }

private:
    // One pass over the address positions; false when stopped.
    bool Cycle() {
        bool granted = false;
        bool anySelected = false;
        const std::size_t count = std::min(comm_.addresses.size(), kAddressSlots);
        for (std::size_t k = 0; k < count; ++k) {
            if (link_.IsStopRequested() != 0) return false;
            if (settings_.pollingPeriod == kContinuous) environment_.Sleep(kPauseMs);
            const bool selected = progress_.addressSelected[k] != 0;
            anySelected = anySelected || selected;
            if (counters_.quota[k] < 1 || !selected) continue;
            --counters_.quota[k];
            granted = true;
            const TurnEnd end = TakeTurn(k);
            if (end == TurnEnd::kStopped) return false;
            if (end == TurnEnd::kEndCycle) break;
        }
        if (link_.IsStopRequested() != 0) return false;
        if (!granted) counters_.quota = counters_.weight;
        progress_.phase = kPhaseAtRest;
        link_.RefreshProgress(false);
        // Nothing selected: nothing to wait on, so do not spin.
        if (!anySelected) environment_.Sleep(kPauseMs);
        return true;
    }

    // A turn the address's quota granted.
    TurnEnd TakeTurn(std::size_t k) {
        if (OutsidePollingWindow()) return TurnEnd::kNextAddress;
        if (!SyncTimeInWindow()) return TurnEnd::kStopped;
        ShowWorkingOn(k);
        if (PausingBeforeRePoll()) return TurnEnd::kNextAddress;
        return PollAddress(k);
    }

    // With a set polling window, the time outside it passes without polls.
    bool OutsidePollingWindow() {
        if (settings_.pollingPeriod != kSpecify ||
            IsWithinWindow(settings_.startTime, settings_.stopTime,
                           TimeOfDayText(environment_.Now())))
            return false;
        environment_.Sleep(kPauseMs);
        link_.RefreshProgress(false);
        return true;
    }

    // The clocks are set once a run, at the first turn inside the sync
    // window; false when that was stopped.
    bool SyncTimeInWindow() {
        if (settings_.autoTimeSync != kSyncInWindow || timeSyncDone_ ||
            !IsWithinWindow(settings_.autoSyncStart, settings_.autoSyncStop,
                            TimeOfDayText(environment_.Now())))
            return true;
        if (!link_.SyncTimeAll(operation_)) return false;
        timeSyncDone_ = true;
        progress_.mode = kProgressPolling;
        progress_.phase = kPhaseAtRest;
        return true;
    }

    void ShowWorkingOn(std::size_t k) {
        progress_.currentAddress = static_cast<int>(k);
        progress_.phase = kPhaseAtRest;
        progress_.addressStatus[k] = kStatusWorking;
        link_.RefreshProgress(false);
    }

    // True while the re-poll pause runs; the pause ends once it has lasted
    // longer than the re-poll time.
    bool PausingBeforeRePoll() {
        if (context_.rePollWaiting == 0) return false;
        if (environment_.Seconds() - rePollPauseStart_ <= settings_.rePollTime) {
            environment_.Sleep(kPauseMs);
            return true;
        }
        context_.rePollWaiting = 0;
        return false;
    }

    TurnEnd PollAddress(std::size_t k) {
        const char address = comm_.addresses[k];
        std::array<char, ZELO_POLL_RECORD_SIZE> record{};
        int32_t length = 0;
        const int result = HM_poll(comm_.port, address, record.data(), &length);
        RecordNumber number;
        if (result == ZELO_OK) HM_poll_number(address, &number.number, &number.held);
        if (result != ZELO_TIMEOUT) counters_.timeOuts[k] = 0;
        if (link_.IsStopRequested() != 0) return TurnEnd::kStopped;
        if (result != ZELO_OK && result != ZELO_NO_DATA &&
            HM_last_error_text(nullptr, 0) == ZELO_OPEN_LINE_LOST) {
            // The port failed (an adapter pulled out, the far end gone):
            // every later poll would fail at once, so the run ends here,
            // with the reason, instead of polling a line that is not there.
            link_.ShowResult(address, "Poll", "", result);
            progress_.addressStatus[k] = kStatusFailed;
            endedOnFailure_ = true;
            return TurnEnd::kEndCycle;
        }
        if (!TakePollResult(link_, result, address, RecordText(record), length, number, k, turn_)) {
            endedOnFailure_ = true;
            return TurnEnd::kEndCycle;
        }
        return FollowPeriodRule();
    }

    // After a poll: a run that ends when no data comes ends once the line
    // has been quiet too long; a re-poll run pauses instead.
    TurnEnd FollowPeriodRule() {
        const std::int64_t now = environment_.Seconds();
        if (settings_.pollingPeriod == kEndWhenNoData &&
            now - lastDataTime_ > settings_.pollMaxWait) {
            status_.idle = 1;
            return TurnEnd::kEndCycle;
        }
        if (settings_.pollingPeriod == kRePoll && now - lastDataTime_ > settings_.rePollNoData &&
            context_.rePollWaiting == 0) {
            context_.rePollWaiting = 1;
            rePollPauseStart_ = now;
        }
        return TurnEnd::kNextAddress;
    }

    CTerminalLink& link_;
    const OperationContext& operation_;
    const CommSettings& comm_;
    LinkStatus& status_;
    PollSettings& settings_;
    PollContext& context_;
    ProgressState& progress_;
    platform::Platform& environment_;
    PollCounters counters_;
    std::int64_t lastDataTime_;
    PollTurn turn_;
    std::int64_t rePollPauseStart_ = 0;
    bool timeSyncDone_ = false;
    bool endedOnFailure_ = false;
};

}  // namespace

void CTerminalLink::Poll(const OperationContext& operation, PollSettings& settings,
                         PollContext& context) {
    const CommSettings& comm = operation.settings;
    LinkStatus& status = operation.status;
    // A stopped clock setting has already waited for the Stop to finish.
    if (settings.autoTimeSync == kSyncAtStart && !SyncTimeAll(operation)) return;
    if (comm.terminalType >= kEstra) {
        SetPowerSaving(operation, false);
        HM_set_power_saving_status(0);
    }
    context.rePollWaiting = 0;
    OpenPollFile(settings, context, status);
    if (status.pollFileOpen == 0) {
        RestorePowerSaving(*this, operation);
        return;
    }
    // Every terminal is told where the host stands, also one never polled
    // before (0), so that its records come numbered from now on.
    for (const char address : comm.addresses)
        HM_poll_stored(static_cast<unsigned char>(address),
                       context.numbers->StoredThrough(address));
    // A stopped run leaves the file open and the power saving as it is,
    // with what it holds on stable storage.
    const bool finished = PollRun(*this, operation, settings, context).Run();
    if (!CommitPollRecords(context))
        ShowResult(' ', "Poll", "Poll Data file sync error", ZELO_UNKNOWN_RESPONSE);
    if (!finished) {
        WaitUntilIdle(status);
        return;
    }
    context.file.reset();
    status.pollFileOpen = 0;
    status.idle = 1;
    RestorePowerSaving(*this, operation);
}

}  // namespace zelo::link
