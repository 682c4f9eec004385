#include "dialogs/terminal_type_form.hpp"

namespace zelo::dialogs {

TerminalTypeFields OpenTerminalType(const core::ModelState& state) {
    return {state.comm.terminalType, 1};
}

bool ConfirmTerminalType(core::ProgramModel& view, const TerminalTypeFields& fields,
                         core::LibrarySettings& library) {
    core::ModelState& state = view.State();
    // A radio group always yields one of its buttons; anything else keeps
    // the held model rather than storing a type no table knows.
    const int lastType = static_cast<int>(kTerminalTypeCaptions.size()) - 1;
    if (fields.typeIndex >= 0 && fields.typeIndex <= lastType) {
        state.comm.terminalType = fields.typeIndex;
    }
    if (fields.useStandardDelays == 1) core::ApplyFamilyPreset(state, state.comm.terminalType);
    library.SetPowerSaving(state.status.powerSaving.load());
    const bool saved = view.SaveConfiguration();
    const int perAddressType =
        state.comm.terminalType == link::kBrisa ? link::kCorvo : state.comm.terminalType;
    for (auto& type : state.progress.typeFound) type = perAddressType;
    return saved;
}

}  // namespace zelo::dialogs
