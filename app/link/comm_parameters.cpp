// Settings that change how a terminal is reached: its address and its line
// parameters.
#include "link/comm_parameters.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "link/address_loop.hpp"
#include "link/terminal_link.hpp"
#include "zelodll.h"

namespace zelo::link {
namespace {

constexpr std::size_t kCommParameterSize = 11;  // 10 characters and a zero

// The speed character the terminal takes: '0' for 110, '2'..'9' for 300 to
// 38400, 'A' for 57600.
char SpeedCharacter(int baudIndex) {
    if (baudIndex <= 0) return '0';
    if (baudIndex >= 9) return 'A';
    return static_cast<char>(baudIndex + '1');
}

// Where the address character goes in the parameter string.
std::size_t AddressPosition(int terminalType) { return terminalType >= kEstra ? 6 : 5; }

}  // namespace

// The communication-table text of one terminal model, without its address
// (put in per terminal at AddressPosition): speed, stop bits, data bits,
// parity, then the model's fixed characters and the two time-out digits.
std::string BuildCommParameters(const CommTableRequest& request, int terminalType,
                                int terminalTimeout) {
    const char* format = "718NM0%.2d";
    if (terminalType == kLanta) format = "718NM0%.2dF";
    if (terminalType >= kEstra) format = "718NFM00%.2d";
    // Two digits are all the terminal reads.
    const int timeout = terminalTimeout < 0 ? 0 : terminalTimeout % 100;
    std::array<char, kCommParameterSize> text{};
    std::snprintf(text.data(), text.size(), format, timeout);
    text[0] = SpeedCharacter(request.baudIndex);
    text[1] = request.stopBitsIndex == 1 ? '2' : '1';
    text[2] = request.dataBitsIndex == 0 ? '7' : '8';
    text[3] = request.parity == 1 ? 'O' : (request.parity == 2 ? 'E' : 'N');
    return text.data();
}

void CTerminalLink::SetCommParameters(const OperationContext& context,
                                      const CommTableRequest& request, int terminalTimeout) {
    std::string parameters =
        BuildCommParameters(request, context.settings.terminalType, terminalTimeout);
    const std::size_t addressAt = AddressPosition(context.settings.terminalType);
    const AddressLoopOptions options{StatusRule::kCommand, true, 0};
    const bool finished = RunAddressLoop(*this, context, options, [&](char a, int) {
        parameters[addressAt] = a;
        return AddressResult{HM_comm_tab(context.settings.port, a, parameters.c_str()),
                             "Set commnication Para.", parameters};
    });
    if (!finished || !request.changePcParameters) return;

    // The terminals now listen at the new settings: follow them.
    Disconnect(context.settings.port, context.status);
    context.settings.baudIndex = request.baudIndex;
    context.settings.dataBitsIndex = request.dataBitsIndex;
    context.settings.parity = request.parity;
    context.settings.stopBitsIndex = request.stopBitsIndex;
    OnSettingsChanged();
    Connect(context.settings, context.status);
}

void CTerminalLink::ChangeAddress(const OperationContext& context, char oldAddress,
                                  char newAddress) {
    BeginAddressLoop(*this, context);
    const std::size_t count = std::min(context.settings.addresses.size(), kMaxAddresses);
    bool changed = false;
    for (std::size_t i = 0; i < count && context.settings.addresses[i] != '\0'; ++i) {
        if (context.settings.addresses[i] != oldAddress) continue;
        context.progress.currentAddress = static_cast<int>(i);
        context.progress.phase = kPhaseAtRest;
        context.progress.addressStatus[i] = kStatusWorking;
        RefreshProgress(false);
        const int code = HM_set_address(context.settings.port, oldAddress, newAddress);
        context.progress.addressStatus[i] = StatusForResult(StatusRule::kAddressSet, code);
        if (IsStopRequested() != 0) {
            WaitUntilIdle(context.status);
            return;
        }
        char label[32];
        std::snprintf(label, sizeof label, "Change address %c to %c", oldAddress, newAddress);
        // The terminal answers at its new address from now on.
        if (code == 0) {
            context.settings.addresses[i] = newAddress;
            changed = true;
        }
        ShowResult(code == 0 ? newAddress : oldAddress, label, "", code);
    }
    // Saved at once: a later reload of the configuration must not bring
    // back an address no terminal answers to any more.
    if (changed) OnSettingsChanged();
    context.status.idle = 1;
}

}  // namespace zelo::link
