#include <zelodll.h>

#include <algorithm>
#include <cstdio>

#include "link/terminal_link.hpp"

namespace zelo::link {

int CTerminalLink::SyncTimeAll(const CommSettings& comm, LinkStatus& status,
                               ProgressState& progress) {
    const std::size_t count = std::min(comm.addresses.size(), kAddressSlots);
    for (std::size_t k = 0; k < count; ++k) {
        if (progress.addressSelected[k] == 0) continue;
        const char address = comm.addresses[k];
        progress.currentAddress = static_cast<int>(k);
        progress.phase = kPhaseAtRest;
        progress.addressStatus[k] = kStatusWorking;
        RefreshProgress(false);

        const platform::LocalTime now = Environment().Now();
        char text[64];
        std::snprintf(text, sizeof text, "%4d%.2d%.2d%.2d%.2d%.2d", now.year, now.month, now.day,
                      now.hour, now.minute, now.second);
        const int result = HM_date_time(comm.port, address, text);
        if (IsStopRequested() != 0) {
            WaitUntilIdle(status);
            return 0;
        }
        if (result == 0) {
            progress.addressStatus[k] = kStatusDone;
        } else if (result == ZELO_TIMEOUT) {
            progress.addressStatus[k] = kStatusTimeOut;
        } else if (result != ZELO_NO_DATA) {
            progress.addressStatus[k] = kStatusFailed;
        }
        ShowResult(address, "Time Sync.", text, result);
    }
    progress.phase = kPhaseAtRest;
    RefreshProgress(false);
    return 1;
}

}  // namespace zelo::link
