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
void RestorePowerSaving(CTerminalLink& link, const CommSettings& comm, LinkStatus& status,
                        ProgressState& progress) {
    if (comm.terminalType < kEstra) return;
    link.SetPowerSaving(comm, status, progress, 1);
    HM_set_power_saving_status(comm.terminalType == kBrisa ? 0 : 1);
}

std::string LastRecordTimeText(const LocalDateTime& now) {
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
    LinkEnvironment& environment;
    PollCounters& counters;
    std::int64_t& lastDataTime;
};

// What one poll's result does to the address's counters and status; false
// when a record could not be stored.
bool TakePollResult(CTerminalLink& link, int result, char address, std::string_view text,
                    std::int32_t length, std::size_t k, PollTurn& turn) {
    switch (result) {
        case ZELO_OK: {
            // A record longer than the library's buffer arrives cut, and the
            // terminal has let it go: what arrived is stored, ended with a
            // line end of its own so that the next record does not run on
            // from it, and the loss is reported as a failure.
            const bool cut = length >= ZELO_POLL_RECORD_SIZE;
            const std::string kept = cut ? std::string(text) + "\r\n" : std::string(text);
            // The terminal has had its acknowledgement: a record that
            // cannot be stored is lost, so take no more from anyone.
            if (!StorePollRecord(turn.context, address, kept)) {
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

}  // namespace

void CTerminalLink::Poll(const CommSettings& comm, LinkStatus& status, PollSettings& settings,
                         PollContext& context, ProgressState& progress) {
    LinkEnvironment& environment = Environment();
    if (settings.autoTimeSync == kSyncAtStart && SyncTimeAll(comm, status, progress) == 0) {
        WaitUntilIdle(status);
        return;
    }
    if (comm.terminalType >= kEstra) {
        SetPowerSaving(comm, status, progress, 0);
        HM_set_power_saving_status(0);
    }

    PollCounters counters;
    context.rePollWaiting = 0;
    OpenPollFile(settings, context, status);
    if (status.pollFileOpen == 0) {
        RestorePowerSaving(*this, comm, status, progress);
        return;
    }

    progress.mode = kProgressPolling;
    progress.phase = kPhaseAtRest;
    RefreshProgress(0);
    status.idle = 0;
    std::int64_t lastDataTime = environment.Seconds();
    std::int64_t rePollPauseStart = 0;
    bool timeSyncDone = false;
    bool storeFailed = false;
    const std::size_t count = std::min(comm.addresses.size(), kAddressSlots);
    PollTurn turn{settings, context, progress, environment, counters, lastDataTime};

    while (status.idle == 0 && !storeFailed) {
        bool granted = false;
        bool anySelected = false;
        for (std::size_t k = 0; k < count; ++k) {
            if (IsStopRequested() != 0) {
                WaitUntilIdle(status);
                return;
            }
            if (settings.pollingPeriod == kContinuous) environment.Sleep(kPauseMs);
            if (progress.addressSelected[k] != 0) anySelected = true;
            if (counters.quota[k] < 1 || progress.addressSelected[k] == 0) continue;
            --counters.quota[k];
            granted = true;

            if (settings.pollingPeriod == kSpecify &&
                !IsWithinWindow(settings.startTime, settings.stopTime,
                                TimeOfDayText(environment.Now()))) {
                environment.Sleep(kPauseMs);
                RefreshProgress(0);
                continue;
            }
            if (settings.autoTimeSync == kSyncInWindow && !timeSyncDone &&
                IsWithinWindow(settings.autoSyncStart, settings.autoSyncStop,
                               TimeOfDayText(environment.Now()))) {
                if (SyncTimeAll(comm, status, progress) == 0) {
                    WaitUntilIdle(status);
                    return;
                }
                timeSyncDone = true;
                progress.mode = kProgressPolling;
                progress.phase = kPhaseAtRest;
            }

            const char address = comm.addresses[k];
            progress.currentAddress = static_cast<int>(k);
            progress.phase = kPhaseAtRest;
            progress.addressStatus[k] = kStatusWorking;
            RefreshProgress(0);

            if (context.rePollWaiting != 0) {
                if (environment.Seconds() - rePollPauseStart <= settings.rePollTime) {
                    environment.Sleep(kPauseMs);
                    continue;
                }
                context.rePollWaiting = 0;
            }

            std::array<char, ZELO_POLL_RECORD_SIZE> record{};
            int32_t length = 0;
            const int result = HM_poll(comm.port, address, record.data(), &length);
            if (result != ZELO_TIMEOUT) counters.timeOuts[k] = 0;
            if (IsStopRequested() != 0) {
                WaitUntilIdle(status);
                return;
            }

            if (!TakePollResult(*this, result, address, RecordText(record), length, k, turn)) {
                storeFailed = true;
                break;
            }

            const std::int64_t now = environment.Seconds();
            if (settings.pollingPeriod == kEndWhenNoData &&
                now - lastDataTime > settings.pollMaxWait) {
                status.idle = 1;
                break;
            }
            if (settings.pollingPeriod == kRePoll && now - lastDataTime > settings.rePollNoData &&
                context.rePollWaiting == 0) {
                context.rePollWaiting = 1;
                rePollPauseStart = now;
            }
        }
        if (IsStopRequested() != 0) {
            WaitUntilIdle(status);
            return;
        }
        if (!granted) counters.quota = counters.weight;
        progress.phase = kPhaseAtRest;
        RefreshProgress(0);
        // Nothing selected: nothing to wait on, so do not spin.
        if (!anySelected) environment.Sleep(kPauseMs);
    }

    context.file.reset();
    status.pollFileOpen = 0;
    status.idle = 1;
    RestorePowerSaving(*this, comm, status, progress);
}

}  // namespace zelo::link
