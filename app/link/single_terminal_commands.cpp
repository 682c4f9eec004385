// Commands of one library call per selected terminal, whose result is
// success, time out or failure.
#include <string>

#include "link/address_loop.hpp"
#include "link/terminal_link.hpp"
#include "zelodll.h"

namespace zelo::link {
namespace {

// A command with a fixed label and detail.
AddressLoopOptions CommandRule() { return {StatusRule::kCommand, false, 0}; }

std::string BeeperLabel(int level) {
    switch (level) {
        case 0: return "Set Beeper volume low! ";
        case 5: return "Set Beeper volume medium! ";
        case 9: return "Set Beeper volume high! ";
        default: return "";
    }
}

std::string KeypadLabel(int mode) {
    switch (mode) {
        case 0:
        case '0': return "Set keypad lock";
        case 1:
        case '1': return "Set keypad unlock";
        case 2:
        case '2': return "Set keypad partial lock";
        case 'A': return "Restore system keymap";
        default: return "";
    }
}

// The font kind as the terminal takes it: one digit character.
std::string FontKindText(int kind) {
    if (kind >= 0 && kind <= 9) return std::string(1, static_cast<char>('0' + kind));
    if (kind >= '0' && kind <= '9') return std::string(1, static_cast<char>(kind));
    return "";
}

std::string FontLabel(int kind) {
    switch (kind) {
        case 0:
        case '0': return "Restore all system font!";
        case 1:
        case '1': return "Restore 16x8 system font!";
        case 2:
        case '2': return "Restore 32x16 system font!";
        default: return "";
    }
}

}  // namespace

void CTerminalLink::ColdStart(const OperationContext& context) {
    BeginAddressLoop(*this, context);
    const bool finished = ForEachSelectedAddress(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_cold_start(context.settings.port, a), "Cold Start", ""};
    });
    // The terminals restart and leave the line; the next command reconnects.
    if (finished) Disconnect(context.settings.port, context.status);
}

void CTerminalLink::WarmStart(const OperationContext& context) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_warm_start(context.settings.port, a), "Warm Start", ""};
    });
}

void CTerminalLink::SetBarcodeTable(const OperationContext& context, const std::string& table) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_bar_tab(context.settings.port, a, table.c_str()),
                             "Set Bar symbology", table};
    });
}

void CTerminalLink::SetUploadMode(const OperationContext& context) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_upload_mode(context.settings.port, a), "Upload mode ", ""};
    });
}

void CTerminalLink::SetBeeperVolume(const OperationContext& context, int level) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_buzzer(context.settings.port, a, level), BeeperLabel(level), " "};
    });
}

void CTerminalLink::SetDeviceTable(const OperationContext& context, const std::string& table) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_dev_tab(context.settings.port, a, table.c_str()),
                             "Set device table", table};
    });
}

void CTerminalLink::SetKeypad(const OperationContext& context, int mode) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_keypad(context.settings.port, a, mode), KeypadLabel(mode), " "};
    });
}

void CTerminalLink::SetUpsOff(const OperationContext& context) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_ups(context.settings.port, a), "Set UPS off", ""};
    });
}

void CTerminalLink::SendData(const OperationContext& context, const std::string& text) {
    const AddressLoopOptions options{StatusRule::kCommand, true, 0};
    RunAddressLoop(*this, context, options, [&](char a, int) {
        return AddressResult{HM_send_data(context.settings.port, a, text.c_str()), "Send Data",
                             text};
    });
}

void CTerminalLink::SetPassword(const OperationContext& context, const std::string& password) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        // The detail stays empty: the password never reaches a line or the log.
        return AddressResult{HM_password(context.settings.port, a, password.c_str()),
                             "Set password ", ""};
    });
}

void CTerminalLink::RestoreSystemFont(const OperationContext& context, int kind) {
    const std::string kindText = FontKindText(kind);
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_system_font(context.settings.port, a, kindText.c_str()),
                             FontLabel(kind), " "};
    });
}

void CTerminalLink::SendLantaTable(const OperationContext& context, const std::string& table) {
    BeginAddressLoop(*this, context);
    const bool finished = ForEachSelectedAddress(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_K40_record(context.settings.port, a, table.c_str()),
                             "Set Lanta configuration table", table};
    });
    if (!finished) return;
    context.progress.phase = kPhaseAtRest;
    RefreshProgress(false);
    OnSettingsChanged();
    context.status.idle = 1;
}

void CTerminalLink::ExecuteKermit(const OperationContext& context) {
    RunAddressLoop(*this, context, CommandRule(), [&](char a, int) {
        return AddressResult{HM_kermit(context.settings.port, a), "Execute kermit", ""};
    });
}

}  // namespace zelo::link
