#include "core/library_settings.hpp"

#include <zelodll.h>

#include "core/configuration.hpp"
#include "core/terminal_types.hpp"

namespace zelo::core {
namespace {

class ZeloDll final : public LibrarySettings {
public:
    void SetTimeOut(int value) override { HM_set_time_out(value); }
    void SetNakDelay(int value) override { HM_set_NAK_delay(value); }
    void SetEscDelay(int value) override { HM_set_ESC_delay(value); }
    void SetPowerSaving(int status) override { HM_set_power_saving_status(status); }
    void SetUploadSaveMode(int mode) override { HM_set_upload_file_save_mode(mode); }
};

}  // namespace

LibrarySettings& ZeloDllSettings() {
    static ZeloDll library;
    return library;
}

void PushLibrarySettings(const ModelState& state, LibrarySettings& library) {
    library.SetTimeOut(state.timing.timeOut);
    library.SetEscDelay(state.timing.escDelay);
    library.SetNakDelay(state.timing.nakDelay);
    library.SetPowerSaving(state.status.powerSaving.load());
    library.SetUploadSaveMode(state.lists.uploadSaveMode);
}

void ApplyFamilyPreset(ModelState& state, int terminalType) {
    const FamilyPreset preset = PresetOf(FamilyOf(terminalType));
    state.timing.timeOut = preset.timeOut;
    state.timing.escDelay = preset.escDelay;
    state.timing.nakDelay = preset.nakDelay;
    state.status.powerSaving = preset.powerSaving;
}

}  // namespace zelo::core
