#include <zelodll.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

            switch (result) {
                case ZELO_OK: {
                    const std::string_view text = RecordText(record);
                    // The terminal has had its acknowledgement: a record that
                    // cannot be stored is lost, so take no more from anyone.
                    if (!StorePollRecord(context, address, text)) {
                        ShowResult(address, "Poll", "Poll Data file write error", 1);
                        progress.addressStatus[k] = kStatusFailed;
                        storeFailed = true;
                        break;
                    }
                    settings.notAppendCrLf = 1;
                    ShowPollData(address, text);
                    progress.addressStatus[k] = kStatusTransferring;
                    context.lastRecordTimes[k].Set(LastRecordTimeText(environment.Now()));
                    lastDataTime = environment.Seconds();
                    counters.Raise(k);
                    counters.naks[k] = 0;
                    break;
                }
                case ZELO_NAK:
                    progress.addressStatus[k] = kStatusFailed;
                    // One NAK is line noise; two in a row are worth a line.
                    if (++counters.naks[k] >= 2) ShowResult(address, "Poll", "", result);
                    counters.Raise(k);
                    break;
                case ZELO_TIMEOUT:
                    if (++counters.timeOuts[k] >= settings.maxError) {
                        ShowResult(address, "Poll", "", result);
                        counters.timeOuts[k] = 0;
                    }
                    progress.addressStatus[k] = kStatusTimeOut;
                    counters.weight[k] = 1;
                    counters.quota[k] = 0;
                    counters.naks[k] = 0;
                    break;
                case ZELO_NO_DATA:
                    if (counters.weight[k] > 1) --counters.weight[k];
                    counters.naks[k] = 0;
                    break;
                default:
                    progress.addressStatus[k] = kStatusFailed;
                    ShowResult(address, "Poll", "", result);
                    counters.Raise(k);
                    counters.naks[k] = 0;
                    break;
            }
            if (storeFailed) break;

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
