#include "dialogs/modem_form.hpp"

#include "dialogs/phone_lines.hpp"
#include "link/bounded_text.hpp"

namespace zelo::dialogs {

ModemForm ModemFormFrom(const core::ModelState& state) {
    ModemForm form;
    form.useModem = state.status.useModem.load() == 1 ? 1 : 0;
    form.initCommand = state.comm.modemInitCommand;
    form.dialWaitTime = state.comm.dialWaitTime;
    form.dialType = state.comm.dialType;
    form.phoneLines = BuildPhoneLines(state.phoneBook);
    return form;
}

void ApplyModemForm(const ModemForm& form, core::ModelState& state) {
    state.status.useModem = form.useModem != 0 ? 1 : 0;
    state.comm.modemInitCommand = link::Truncated(form.initCommand, link::kMaxModemInitCommand);
    state.comm.dialWaitTime = form.dialWaitTime;
    state.comm.dialType = form.dialType;
    StorePhoneLines(form.phoneLines, state.phoneBook);
}

}  // namespace zelo::dialogs
