// The terminals' power saving: around transfers, and as commands of their own.
#include <algorithm>
#include <cstddef>

#include "link/address_loop.hpp"
#include "link/terminal_link.hpp"
#include "zelodll.h"

namespace zelo::link {
namespace {

const char* PowerSavingLabel(bool switchOn) {
    return switchOn ? "Power-Saving on" : "Power-Saving off";
}

int SwitchTerminal(bool switchOn, int port, char address) {
    return switchOn ? HM_power_saving_on(port, address) : HM_power_saving_off(port, address);
}

}  // namespace

int CTerminalLink::SwitchPowerSaving(bool switchOn, int libraryFlag, const CommSettings& settings,
                                     LinkStatus& status, int addressIndex) {
    HM_set_power_saving_status(libraryFlag);
    if (addressIndex < 0 || static_cast<std::size_t>(addressIndex) >= settings.addresses.size()) {
        return ZELO_UNKNOWN_RESPONSE;
    }
    const char address = settings.addresses[static_cast<std::size_t>(addressIndex)];
    const int result = SwitchTerminal(switchOn, settings.port, address);
    if (IsStopRequested() != 0) {
        WaitUntilIdle(status);
        return result;
    }
    ShowResult(address, PowerSavingLabel(switchOn), " ", result);
    return result;
}

void CTerminalLink::SetPowerSaving(const OperationContext& context, bool switchOn) {
    BeginAddressLoop(*this, context);
    const std::size_t count = std::min(context.settings.addresses.size(), kMaxAddresses);
    for (std::size_t i = 0; i < count; ++i) {
        const char address = context.settings.addresses[i];
        if (address == '\0') break;
        if (context.progress.addressSelected[i] == 0) continue;
        context.progress.currentAddress = static_cast<int>(i);
        context.progress.phase = kPhaseAtRest;
        context.progress.addressStatus[i] = kStatusWorking;
        RefreshProgress(false);
        const int result = SwitchTerminal(switchOn, context.settings.port, address);
        if (IsStopRequested() != 0) {
            WaitUntilIdle(context.status);
            return;
        }
        ShowResult(address, PowerSavingLabel(switchOn), " ", result);
        context.progress.addressStatus[i] = result == 0 ? kStatusDone : kStatusNotDone;
        RefreshProgress(false);
    }
    context.status.idle = 1;
}

}  // namespace zelo::link
