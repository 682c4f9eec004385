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

void CTerminalLink::ColdStart(const CommSettings& settings, LinkStatus& status,
                              ProgressState& progress) {
    BeginAddressLoop(*this, status, progress);
    const bool finished =
        ForEachSelectedAddress(*this, settings, status, progress, CommandRule(), [&](char a, int) {
            return AddressResult{HM_cold_start(settings.port, a), "Cold Start", ""};
        });
    // The terminals restart and leave the line; the next command reconnects.
    if (finished) Disconnect(settings.port, status);
}

void CTerminalLink::WarmStart(const CommSettings& settings, LinkStatus& status,
                              ProgressState& progress) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_warm_start(settings.port, a), "Warm Start", ""};
    });
}

void CTerminalLink::SetBarcodeTable(const CommSettings& settings, LinkStatus& status,
                                    ProgressState& progress, const std::string& table) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_bar_tab(settings.port, a, table.c_str()), "Set Bar symbology",
                             table};
    });
}

void CTerminalLink::SetUploadMode(const CommSettings& settings, LinkStatus& status,
                                  ProgressState& progress) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_upload_mode(settings.port, a), "Upload mode ", ""};
    });
}

void CTerminalLink::SetBeeperVolume(const CommSettings& settings, LinkStatus& status,
                                    ProgressState& progress, int level) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_buzzer(settings.port, a, level), BeeperLabel(level), " "};
    });
}

void CTerminalLink::SetDeviceTable(const CommSettings& settings, LinkStatus& status,
                                   ProgressState& progress, const std::string& table) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_dev_tab(settings.port, a, table.c_str()), "Set device table",
                             table};
    });
}

void CTerminalLink::SetKeypad(const CommSettings& settings, LinkStatus& status,
                              ProgressState& progress, int mode) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_keypad(settings.port, a, mode), KeypadLabel(mode), " "};
    });
}

void CTerminalLink::SetUpsOff(const CommSettings& settings, LinkStatus& status,
                              ProgressState& progress) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_ups(settings.port, a), "Set UPS off", ""};
    });
}

void CTerminalLink::SendData(const CommSettings& settings, LinkStatus& status,
                             ProgressState& progress, const std::string& text) {
    const AddressLoopOptions options{StatusRule::kCommand, true, 0};
    RunAddressLoop(*this, settings, status, progress, options, [&](char a, int) {
        return AddressResult{HM_send_data(settings.port, a, text.c_str()), "Send Data", text};
    });
}

void CTerminalLink::SetPassword(const CommSettings& settings, LinkStatus& status,
                                ProgressState& progress, const std::string& password) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        // The detail stays empty: the password never reaches a line or the log.
        return AddressResult{HM_password(settings.port, a, password.c_str()), "Set password ", ""};
    });
}

void CTerminalLink::RestoreSystemFont(const CommSettings& settings, LinkStatus& status,
                                      ProgressState& progress, int kind) {
    const std::string kindText = FontKindText(kind);
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_system_font(settings.port, a, kindText.c_str()), FontLabel(kind),
                             " "};
    });
}

void CTerminalLink::SendLantaTable(const CommSettings& settings, LinkStatus& status,
                                   ProgressState& progress, const std::string& table) {
    BeginAddressLoop(*this, status, progress);
    const bool finished =
        ForEachSelectedAddress(*this, settings, status, progress, CommandRule(), [&](char a, int) {
            return AddressResult{HM_K40_record(settings.port, a, table.c_str()),
                                 "Set Lanta configuration table", table};
        });
    if (!finished) return;
    progress.phase = kPhaseAtRest;
    RefreshProgress(0);
    OnSettingsChanged();
    status.idle = 1;
}

void CTerminalLink::ExecuteKermit(const CommSettings& settings, LinkStatus& status,
                                  ProgressState& progress) {
    RunAddressLoop(*this, settings, status, progress, CommandRule(), [&](char a, int) {
        return AddressResult{HM_kermit(settings.port, a), "Execute kermit", ""};
    });
}

}  // namespace zelo::link
