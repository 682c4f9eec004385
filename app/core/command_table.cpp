#include "core/command_table.hpp"

namespace zelo::core {

MenuGroup MenuGroupOf(int commandCode) {
    switch (commandCode) {
        case kConnectLine: return MenuGroup::kConnect;
        case kDisconnectLine: return MenuGroup::kDisconnect;
        case kBatchScript: return MenuGroup::kRestartScript;
        default: return MenuGroup::kTerminalOrSettings;
    }
}

bool IsEnabled(MenuGroup group, const EnablingState& state) {
    switch (group) {
        case MenuGroup::kTerminalOrSettings: return state.idle != 0 && state.workerBusy == 0;
        // The worker refuses a second command, so connecting while one runs
        // is refused there rather than hidden here.
        case MenuGroup::kConnect: return state.connected == 0;
        case MenuGroup::kDisconnect: return state.idle != 0 && state.connected != 0;
        // Only after a batch script was stopped.
        case MenuGroup::kRestartScript: return state.commandLineMode != 0 && state.abortScript != 0;
        case MenuGroup::kAlways: return true;
    }
    return false;
}

}  // namespace zelo::core
