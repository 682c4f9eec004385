#include <zelodll.h>

#include "core/configuration.hpp"
#include "core/terminal_types.hpp"

namespace zelo::core {

void PushLibrarySettings(const ModelState& state) {
    HM_set_time_out(state.timing.timeOut);
    HM_set_ESC_delay(state.timing.escDelay);
    HM_set_NAK_delay(state.timing.nakDelay);
    HM_set_power_saving_status(state.status.powerSaving.load());
    HM_set_upload_file_save_mode(state.lists.uploadSaveMode);
}

void ApplyFamilyPreset(ModelState& state, int terminalType) {
    const FamilyPreset preset = PresetOf(FamilyOf(terminalType));
    state.timing.timeOut = preset.timeOut;
    state.timing.escDelay = preset.escDelay;
    state.timing.nakDelay = preset.nakDelay;
    state.status.powerSaving = preset.powerSaving;
}

}  // namespace zelo::core
