#pragma once

namespace zelo::core {

// The settings the program hands to ZeloDll: all of them after a load, and
// what a settings dialog changed after its OK. Tests put a recorder in its
// place; the program uses ZeloDllSettings().
class LibrarySettings {
public:
    virtual ~LibrarySettings() = default;
    virtual void SetTimeOut(int value) = 0;
    virtual void SetNakDelay(int value) = 0;
    virtual void SetEscDelay(int value) = 0;
    virtual void SetPowerSaving(int status) = 0;
    virtual void SetUploadSaveMode(int mode) = 0;
};

// The library itself (HM_set_time_out and its siblings).
LibrarySettings& ZeloDllSettings();

}  // namespace zelo::core
