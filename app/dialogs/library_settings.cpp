#include "dialogs/library_settings.hpp"

#include <zelodll.h>

namespace zelo::dialogs {
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

}  // namespace zelo::dialogs
