#pragma once

#include <string>
#include <vector>

#include "core/model_state.hpp"

namespace zelo::dialogs {

// The modem dialog's fields; phoneLines is what its phone book edits.
struct ModemForm {
    int dialType = 0;  // 0 tone, 1 pulse
    int dialWaitTime = 60;
    int useModem = 0;
    std::string initCommand;
    std::vector<std::string> phoneLines;
};
inline constexpr int kMinDialWaitTime = 1;
inline constexpr int kMaxDialWaitTime = 120;

// From the records, which the caller has just loaded from the configuration.
ModemForm ModemFormFrom(const core::ModelState& state);

// OK: the modem settings and the phone book, renumbered in the list's order.
// The caller saves the configuration.
void ApplyModemForm(const ModemForm& form, core::ModelState& state);

}  // namespace zelo::dialogs
