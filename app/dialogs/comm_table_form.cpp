#include "dialogs/comm_table_form.hpp"

namespace zelo::dialogs {

CommTableForm CommTableFormFrom(const core::ModelState& state) {
    CommTableForm form;
    form.baudIndex = state.comm.baudIndex;
    form.dataBitsIndex = state.comm.dataBitsIndex;
    form.stopBitsIndex = state.comm.stopBitsIndex;
    form.parity = state.comm.parity;
    form.timeout = state.timing.terminalTimeout;
    return form;
}

void ApplyCommTableForm(const CommTableForm& form, core::ModelState& state) {
    state.commTable.baudIndex = form.baudIndex;
    state.commTable.dataBitsIndex = form.dataBitsIndex;
    state.commTable.stopBitsIndex = form.stopBitsIndex;
    state.commTable.parity = form.parity;
    state.commTable.changePcParameters = form.changePcParameters;
    // Two digits are all the terminal reads.
    const int timeout = form.timeout % (kMaxTerminalTimeout + 1);
    state.timing.terminalTimeout = timeout < 0 ? 0 : timeout;
}

}  // namespace zelo::dialogs
