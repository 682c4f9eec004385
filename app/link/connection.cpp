// Opening and closing the line: directly with the speed search, or by modem.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "link/bounded_text.hpp"
#include "link/result_text.hpp"
#include "link/terminal_link.hpp"
#include "zelodll.h"

namespace zelo::link {
namespace {

constexpr char kWholeLine = ' ';
constexpr int kModemInitTimeoutMs = 1000;
constexpr int kModemHangupTimeoutMs = 3000;
constexpr int kModemConnected = 1;
constexpr int kMaxDialWaitSeconds = 2000000;

std::string BaudText(int baudIndex) {
    if (baudIndex < 0 || baudIndex >= static_cast<int>(kBaudTexts.size())) return "?";
    return std::string(kBaudTexts[static_cast<std::size_t>(baudIndex)]);
}

std::string PortText(const char* format, int port) {
    char text[64];
    std::snprintf(text, sizeof text, format, port);
    return text;
}

std::string PortAtSpeedText(const char* format, int port, int baudIndex) {
    char text[80];
    std::snprintf(text, sizeof text, format, port, BaudText(baudIndex).c_str());
    return text;
}

bool OpenPort(const CommSettings& settings, int baudIndex) {
    return HM_OpenCommPort(settings.port, baudIndex, settings.dataBitsIndex + 7, settings.parity,
                           settings.stopBitsIndex + 1) != 0;
}

// The probe's answer in words: a time-out is silence, anything else an
// answer the probe could not use.
std::string SilenceText(int port, char address, int baudIndex, int result,
                        const CommSettings& settings) {
    std::string text = "COM" + std::to_string(port) + " opened, but terminal " + address;
    text += result == ZELO_TIMEOUT
                ? " did not answer"
                : " gave no usable answer (result " + std::to_string(result) + ")";
    text += " at " + BaudText(baudIndex) + " bps";
    const std::string& addresses = settings.addresses;
    const auto position = addresses.find(address);
    if (position != std::string::npos && position + 1 < addresses.size() &&
        addresses[position + 1] != '\0') {
        text += " (" + std::string(addresses.c_str() + position + 1) + " not tried)";
    }
    return text + "; check the terminal's power, the cable, its address and its speed";
}

}  // namespace

void CTerminalLink::ExplainOpenFailure(int port) {
    std::array<char, 512> reason{};
    const int kind = HM_last_error_text(reason.data(), static_cast<int32_t>(reason.size()));
    std::string text = TextWithin(reason.data(), reason.size());
    if (kind == ZELO_OPEN_OK || text.empty()) text = PortText("COM%-d would not open", port);
    ExplainOnce(text);
}

void CTerminalLink::ExplainLineLoss() {
    std::array<char, 512> reason{};
    if (HM_last_error_text(reason.data(), static_cast<int32_t>(reason.size())) !=
        ZELO_OPEN_LINE_LOST) {
        return;
    }
    ExplainOnce(TextWithin(reason.data(), reason.size()));
}

void CTerminalLink::ExplainOnce(const std::string& text) {
    if (text.empty() || text == lastExplained_) return;
    lastExplained_ = text;
    ExplainFailure(text);
}

bool CTerminalLink::TryBaudRate(const CommSettings& settings, LinkStatus& status, int baudIndex) {
    if (!OpenPort(settings, baudIndex)) {
        ExplainOpenFailure(settings.port);
        return false;
    }
    status.idle = 0;
    for (const char address : settings.addresses) {
        if (address == '\0') break;
        int result = 0;
        if (settings.terminalType == kBrisa) {
            std::array<char, ZELO_REPLY_SIZE> reply{};
            result = HM_firmware_version(settings.port, address, reply.data());
        } else {
            // One spare zero beyond the listing, so the library's clearing of
            // the previous text always finds an end.
            std::array<char, ZELO_LISTING_SIZE + 1> listing{};
            result = HM_dir(settings.port, address, listing.data());
        }
        if (IsStopRequested() != 0) {
            HM_CloseCommPort(settings.port);
            WaitUntilIdle(status);
            return false;
        }
        if (result != 0) {
            HM_CloseCommPort(settings.port);
            status.idle = 1;
            ExplainFailure(SilenceText(settings.port, address, baudIndex, result, settings));
            return false;
        }
    }
    HM_CloseCommPort(settings.port);
    status.idle = 1;
    return true;
}

bool CTerminalLink::Connect(CommSettings& settings, LinkStatus& status) {
    lastExplained_.clear();
    if (status.useModem != 0) {
        if (DialModem(settings, status)) return true;
        status.idle = 1;
        return false;
    }

    status.connected = TryBaudRate(settings, status, settings.baudIndex) ? 1 : 0;
    if (status.connected == 0) {
        if (IsStopRequested() != 0) {
            WaitUntilIdle(status);
            return false;
        }
        ShowResult(kWholeLine,
                   PortAtSpeedText("COM%-d open error at %sbps", settings.port, settings.baudIndex),
                   "", kInformationOnly);
        if (status.autoBaud == 0) {
            if (IsStopRequested() != 0) {
                WaitUntilIdle(status);
            } else {
                ShowResult(kWholeLine, PortText("COM%-d open error", settings.port), "",
                           kInformationOnly);
            }
            return false;
        }
        bool found = false;
        for (int baudIndex = static_cast<int>(kBaudTexts.size()) - 1; baudIndex >= 0; --baudIndex) {
            if (baudIndex == settings.baudIndex) continue;
            status.connected = TryBaudRate(settings, status, baudIndex) ? 1 : 0;
            if (status.connected != 0) {
                settings.baudIndex = baudIndex;
                OnSettingsChanged();  // the speed found is kept as BaudRate
                found = true;
                break;
            }
            if (IsStopRequested() != 0) {
                WaitUntilIdle(status);
                return false;
            }
            ShowResult(kWholeLine,
                       PortAtSpeedText("COM%-d open error at %sbps", settings.port, baudIndex), "",
                       kInformationOnly);
        }
        if (!found) return false;
    }

    // The probes closed the port behind them; open it for the commands. If
    // another program took the port in the meantime, the line is not open,
    // whatever the probes found.
    if (!OpenPort(settings, settings.baudIndex)) {
        status.connected = 0;
        ExplainOpenFailure(settings.port);
        ShowResult(kWholeLine, PortText("COM%-d open error", settings.port), "", kInformationOnly);
        return false;
    }
    if (IsStopRequested() != 0) {
        WaitUntilIdle(status);
        return false;
    }
    ShowResult(kWholeLine,
               PortAtSpeedText("Open COM%-d at %sbps", settings.port, settings.baudIndex), "",
               kInformationOnly);
    return true;
}

bool CTerminalLink::DialModem(const CommSettings& settings, LinkStatus& status) {
    status.idle = 0;
    if (!OpenPort(settings, settings.baudIndex)) {
        ExplainOpenFailure(settings.port);
        ShowMessageBox(PortText("COM%-d open error", settings.port));
        return false;
    }
    ShowResult(kWholeLine,
               PortAtSpeedText("Open COM%-d at %sbps", settings.port, settings.baudIndex), "",
               kInformationOnly);
    const std::string initCommand = Truncated(settings.modemInitCommand, kMaxModemInitCommand);
    ShowResult(kWholeLine, "Send initial command ", initCommand, kInformationOnly);
    if (HC_modem_Init(settings.port, initCommand.c_str(), kModemInitTimeoutMs) != 0) {
        ShowResult(kWholeLine, "Error", "", kInformationOnly);
        Disconnect(settings.port, status);
        return false;
    }
    ShowResult(kWholeLine, "OK", "", kInformationOnly);

    const std::string number = Truncated(settings.dialNumber, kMaxDialNumber);
    ShowResult(kWholeLine, "Dial phone no ", number, kInformationOnly);
    const std::string dialCommand = (settings.dialType == 1 ? "ATDP" : "ATDT") + number;
    // Seconds from the configuration, kept within what milliseconds in an
    // int can hold.
    const int waitSeconds = std::clamp(settings.dialWaitTime, 0, kMaxDialWaitSeconds);
    const int dialed = HC_modem_Dial(settings.port, dialCommand.c_str(), waitSeconds * 1000);
    std::array<char, ZELO_MODEM_REPLY_SIZE> reply{};
    HC_modem_return_message(reply.data());
    if (dialed == kModemConnected) {
        ShowResult(kWholeLine, TextWithin(reply.data(), reply.size()), "", kInformationOnly);
        status.connected = 1;
        status.idle = 1;
        return true;
    }
    ShowResult(kWholeLine, "Fail ", "", kInformationOnly);
    Disconnect(settings.port, status);
    return false;
}

void CTerminalLink::Disconnect(int port, LinkStatus& status) {
    if (status.useModem != 0) {
        HM_stop_communication();
        ShowResult(kWholeLine, "Hang up", " ", kInformationOnly);
        const int hungUp = HC_modem_Hangup(port, "+++ATH", kModemHangupTimeoutMs);
        char detail[32];
        std::snprintf(detail, sizeof detail, "ret = %d", hungUp);
        ShowResult(kWholeLine, "   Send +++ATH ", detail, kInformationOnly);
    }
    HM_CloseCommPort(port);
    status.connected = 0;
    status.idle = 1;
    if (status.closing == 0) ShowResult(kWholeLine, "Close COM port ", " ", kInformationOnly);
}

}  // namespace zelo::link
