#include "dialogs/parameters_form.hpp"

#include "core/value_decoding.hpp"
#include "link/comm_settings.hpp"

namespace zelo::dialogs {

ParametersFields OpenParameters(core::ProgramModel& view) {
    view.ReloadConfiguration();
    const core::ModelState& state = view.State();
    ParametersFields fields;
    fields.addresses = state.comm.addresses;
    fields.baudIndex = state.comm.baudIndex;
    fields.dataBitsIndex = state.comm.dataBitsIndex;
    fields.stopBitsIndex = state.comm.stopBitsIndex;
    fields.parity = state.comm.parity;
    fields.portIndex = state.comm.port - 1;
    fields.timeout = state.timing.timeOut;
    fields.escDelay = state.timing.escDelay;
    fields.nakDelay = state.timing.nakDelay;
    fields.autoBaud = state.status.autoBaud.load();
    fields.powerSaving = state.status.powerSaving.load();
    fields.errorLogMode = state.errorLogMode;
    return fields;
}

Refusal CheckParameters(const ParametersFields& fields) {
    return FirstRefusal({
        CheckRange(fields.portIndex + 1, 1, kPortCount),
        CheckLength(fields.addresses, link::kMaxAddresses, "The address list"),
        CheckRange(fields.baudIndex, 0, static_cast<int>(link::kBaudTexts.size()) - 1),
        CheckRange(fields.autoBaud, 0, 1),
        CheckRange(fields.dataBitsIndex, 0, 1),
        CheckRange(fields.parity, 0, 2),
        CheckRange(fields.stopBitsIndex, 0, 1),
        CheckRange(fields.powerSaving, 0, 1),
        CheckRange(fields.errorLogMode, 0, 2),
    });
}

ParametersOutcome ConfirmParameters(core::ProgramModel& view, const ParametersFields& fields,
                                    core::LibrarySettings& library) {
    core::ModelState& state = view.State();
    link::CommSettings& comm = state.comm;
    // Upper-cased here, filtered to terminal addresses as the file keeps
    // them: what the view holds is what the file holds.
    comm.addresses = core::FilterAddresses(fields.addresses);

    const bool reconnect = fields.baudIndex != comm.baudIndex ||
                           fields.dataBitsIndex != comm.dataBitsIndex ||
                           fields.parity != comm.parity || fields.portIndex + 1 != comm.port ||
                           fields.stopBitsIndex != comm.stopBitsIndex ||
                           fields.autoBaud != state.status.autoBaud.load();

    ParametersOutcome outcome;
    outcome.openPort = comm.port;
    comm.baudIndex = fields.baudIndex;
    state.status.autoBaud = fields.autoBaud;
    comm.port = fields.portIndex + 1;
    state.status.powerSaving = fields.powerSaving;
    comm.stopBitsIndex = fields.stopBitsIndex;
    comm.parity = fields.parity;
    comm.dataBitsIndex = fields.dataBitsIndex;
    state.timing.timeOut = fields.timeout;
    state.timing.escDelay = fields.escDelay;
    state.timing.nakDelay = fields.nakDelay;

    library.SetTimeOut(state.timing.timeOut);
    library.SetNakDelay(state.timing.nakDelay);
    library.SetEscDelay(state.timing.escDelay);
    // Brisa must not be put to sleep between commands, whatever is stored.
    library.SetPowerSaving(comm.terminalType == link::kBrisa ? 0 : fields.powerSaving);

    view.ChangeErrorLogMode(fields.errorLogMode);

    outcome.saved = view.SaveConfiguration();
    outcome.askReconnect = reconnect && state.status.connected.load() == 1;
    return outcome;
}

}  // namespace zelo::dialogs
