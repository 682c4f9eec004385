#include <zelodll.h>

#include <algorithm>

#include "link/terminal_link.hpp"

namespace zelo::link {

int CTerminalLink::SwitchPowerSaving(int switchOn, int libraryFlag, const CommSettings& comm,
                                     LinkStatus& status, int addressIndex) {
    // With the library flag 0 the library leaves power saving alone around
    // each single transfer; the caller switches it once per address.
    HM_set_power_saving_status(libraryFlag);
    const char address = comm.addresses[static_cast<std::size_t>(addressIndex)];
    const int result = switchOn == 1 ? HM_power_saving_on(comm.port, address)
                                     : HM_power_saving_off(comm.port, address);
    if (IsStopRequested() != 0) {
        WaitUntilIdle(status);
        return result;
    }
    ShowResult(address, switchOn == 1 ? "Power-Saving on" : "Power-Saving off", " ", result);
    return result;
}

void CTerminalLink::SetPowerSaving(const CommSettings& comm, LinkStatus& status,
                                   ProgressState& progress, int switchOn) {
    progress.mode = kProgressPerAddress;
    progress.phase = kPhaseAtRest;
    RefreshProgress(0);
    status.idle = 0;
    const std::size_t count = std::min(comm.addresses.size(), kAddressSlots);
    for (std::size_t k = 0; k < count; ++k) {
        if (progress.addressSelected[k] == 0) continue;
        const char address = comm.addresses[k];
        progress.currentAddress = static_cast<int>(k);
        progress.phase = kPhaseAtRest;
        progress.addressStatus[k] = kStatusWorking;
        RefreshProgress(0);
        const int result = switchOn == 1 ? HM_power_saving_on(comm.port, address)
                                         : HM_power_saving_off(comm.port, address);
        if (IsStopRequested() != 0) {
            WaitUntilIdle(status);
            return;
        }
        ShowResult(address, switchOn == 1 ? "Power-Saving on" : "Power-Saving off", " ", result);
        progress.addressStatus[k] = result == 0 ? kStatusDone : kStatusNotDone;
        RefreshProgress(0);
    }
    status.idle = 1;
}

}  // namespace zelo::link
