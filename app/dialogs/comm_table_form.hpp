#pragma once

#include "core/model_state.hpp"

namespace zelo::dialogs {

// The communication-table dialog's fields.
struct CommTableForm {
    int baudIndex = 0;      // 0..9, 110 to 57600
    int dataBitsIndex = 0;  // 0: 7, 1: 8
    int stopBitsIndex = 0;  // 0: 1, 1: 2
    int parity = 0;         // 0 none, 1 odd, 2 even
    bool changePcParameters = false;
    int timeout = 0;  // the terminal's time-out in tenths of a second, 0..99
};
inline constexpr int kMaxTerminalTimeout = 99;

// The dialog opens with the program's own line settings and the configured
// terminal time-out; "change the PC parameters too" starts unchecked. The
// configuration is not read again.
CommTableForm CommTableFormFrom(const core::ModelState& state);

// OK: the request the command sends and the time-out it uses. The caller
// saves the configuration so that the time-out outlives the run.
void ApplyCommTableForm(const CommTableForm& form, core::ModelState& state);

}  // namespace zelo::dialogs
