// Setting the terminals' clocks.
#include <array>
#include <cstdio>
#include <string>

#include "link/address_loop.hpp"
#include "link/terminal_link.hpp"
#include "zelodll.h"

namespace zelo::link {
namespace {

constexpr int kSecondsPerDay = 24 * 3600;

int SecondsSinceMidnight(int hour, int minute, int second) {
    return hour * 3600 + minute * 60 + second;
}

std::string DateTimeText(int year, int month, int day, int hour, int minute, int second) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%4d%.2d%.2d%.2d%.2d%.2d", year, month, day, hour,
                  minute, second);
    return text.data();
}

std::string PcClockText(const platform::LocalTime& now) {
    return DateTimeText(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

AddressResult SetClock(int port, char address, const std::string& text) {
    return {HM_date_time(port, address, text.c_str()), "Time Sync.", text};
}

}  // namespace

void CTerminalLink::SyncTime(const OperationContext& context, TimeSyncRequest& request) {
    const platform::LocalTime start = Environment().Now();
    const int offset = SecondsSinceMidnight(start.hour, start.minute, start.second) -
                       SecondsSinceMidnight(request.hour, request.minute, request.second);
    const bool sendSetTime = context.status.commandLineMode == 0 && request.useSetTime;
    RunAddressLoop(*this, context, {}, [&](char address, int) {
        const platform::LocalTime now = Environment().Now();
        std::string text = PcClockText(now);
        if (sendSetTime) {
            // The set time advanced by the seconds since the command began,
            // kept within one day: the date stays as the user set it.
            int t = SecondsSinceMidnight(now.hour, now.minute, now.second) - offset;
            t = ((t % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
            request.hour = t / 3600;
            request.minute = t / 60 % 60;
            request.second = t % 60;
            text = DateTimeText(request.year, request.month, request.day, request.hour,
                                request.minute, request.second);
        }
        // Stopped while the time was worked out: the loop ends on it
        // without asking this terminal.
        if (IsStopRequested()) return AddressResult{};
        return SetClock(context.settings.port, address, text);
    });
}

// The polling run's form: the PC's clock, and the display's mode and the
// link's idle flag left to the run.
bool CTerminalLink::SyncTimeAll(const OperationContext& context) {
    const bool finished = ForEachSelectedAddress(*this, context, {}, [&](char address, int) {
        return SetClock(context.settings.port, address, PcClockText(Environment().Now()));
    });
    if (!finished) return false;
    context.progress.phase = kPhaseAtRest;
    RefreshProgress(false);
    return true;
}

}  // namespace zelo::link
