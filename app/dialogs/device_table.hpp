#pragma once

#include <string>

namespace zelo::dialogs {

// Which device table dialog a terminal model uses.
enum class DeviceDialogKind {
    kFenna,  // Gravo/Halda and Fenna
    kLanta,
    kEstra,  // Estra, Delmar, Corvo and Brisa
};
DeviceDialogKind DeviceDialogFor(int terminalType);

// Each field is the index of the checked button in its row, or the edit's
// number; every dialog opens with the first button of each row and 0.
struct FennaDeviceChoices {
    int externalScanner = 0;  // auto, pen, MSR, off
    int internalBadge = 0;    // bar code, MSR, off
    int backlight = 0;        // on, off
    int buzzer = 0;           // on, off
    int beepVolume = 0;       // low, medium, high
    int keyLock = 0;          // unlock, lock, partial lock
};

struct LantaDeviceChoices {
    int backlight = 0;  // on, off
    int interval = 0;   // on, off
    int beepLevel = 0;  // 0..7
};
inline constexpr int kMaxLantaBeepLevel = 7;

struct EstraDeviceChoices {
    int scanner = 0;     // auto, pen, off
    int serial = 0;      // on, off
    int backlight = 0;   // on, off
    int buzzer = 0;      // on, off
    int beepVolume = 0;  // low, medium, high
    int autoOff = 0;     // 0..9
};
inline constexpr int kMaxAutoOff = 9;

// The device tables: 6 characters for Gravo/Halda, Fenna and Lanta, 8 for
// the Estra family. terminalType tells Gravo/Halda (0) from Fenna (1).
std::string BuildFennaDeviceTable(const FennaDeviceChoices& choices, int terminalType);
std::string BuildLantaDeviceTable(const LantaDeviceChoices& choices);
std::string BuildEstraDeviceTable(const EstraDeviceChoices& choices);

}  // namespace zelo::dialogs
