// Setting the terminals' clocks.
#include <algorithm>
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

}  // namespace

void CTerminalLink::SyncTime(const OperationContext& context, TimeSyncRequest& request) {
    const platform::LocalTime start = Environment().Now();
    const int offset = SecondsSinceMidnight(start.hour, start.minute, start.second) -
                       SecondsSinceMidnight(request.hour, request.minute, request.second);

    BeginAddressLoop(*this, context);
    const std::size_t count = std::min(context.settings.addresses.size(), kMaxAddresses);
    for (std::size_t i = 0; i < count && context.settings.addresses[i] != '\0'; ++i) {
        const char address = context.settings.addresses[i];
        if (context.progress.addressSelected[i] == 0) continue;
        context.progress.currentAddress = static_cast<int>(i);
        context.progress.phase = kPhaseAtRest;
        context.progress.addressStatus[i] = kStatusWorking;
        RefreshProgress(false);

        const platform::LocalTime now = Environment().Now();
        std::string text;
        if (context.status.commandLineMode == 0 && request.useSetTime == 1) {
            // The set time advanced by the seconds since the command began,
            // kept within one day: the date stays as the user set it.
            int t = SecondsSinceMidnight(now.hour, now.minute, now.second) - offset;
            t = ((t % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
            request.hour = t / 3600;
            request.minute = t / 60 % 60;
            request.second = t % 60;
            text = DateTimeText(request.year, request.month, request.day, request.hour,
                                request.minute, request.second);
        } else {
            text = DateTimeText(now.year, now.month, now.day, now.hour, now.minute, now.second);
        }

        if (IsStopRequested() != 0) {
            WaitUntilIdle(context.status);
            return;
        }
        const int code = HM_date_time(context.settings.port, address, text.c_str());
        if (IsStopRequested() != 0) {
            WaitUntilIdle(context.status);
            return;
        }
        const int newStatus = StatusForResult(StatusRule::kCommand, code);
        if (newStatus >= 0) context.progress.addressStatus[i] = newStatus;
        ShowResult(address, "Time Sync.", text, code);
    }
    EndAddressLoop(*this, context);
}

}  // namespace zelo::link
