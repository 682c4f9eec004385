#include "dialogs/device_table.hpp"

#include <algorithm>

#include "link/comm_settings.hpp"

namespace zelo::dialogs {
namespace {

char OnOff(int row) { return row == 0 ? 'N' : 'F'; }

// Medium and high both send '9': the terminals know two volumes.
char BeepVolume(int row) { return row == 0 ? '0' : '9'; }

// A digit for an edit's value; the dialog has already kept it in range.
char Digit(int value, int highest) {
    return static_cast<char>('0' + std::clamp(value, 0, highest));
}

}  // namespace

DeviceDialogKind DeviceDialogFor(int terminalType) {
    if (terminalType <= link::kFenna) return DeviceDialogKind::kFenna;
    if (terminalType == link::kLanta) return DeviceDialogKind::kLanta;
    return DeviceDialogKind::kEstra;
}

std::string BuildFennaDeviceTable(const FennaDeviceChoices& choices, int terminalType) {
    char scanner = 'F';
    if (terminalType == link::kFenna) {
        constexpr char kFennaScanner[] = {'P', 'A', 'M', 'D'};
        scanner = kFennaScanner[std::clamp(choices.externalScanner, 0, 3)];
    } else if (choices.externalScanner == 0) {
        scanner = 'N';  // Gravo/Halda: automatic, or nothing
    }
    constexpr char kBadge[] = {'B', 'M', 'D'};
    constexpr char kKeyLock[] = {'N', 'K', 'P'};
    return {scanner,
            kBadge[std::clamp(choices.internalBadge, 0, 2)],
            OnOff(choices.backlight),
            OnOff(choices.buzzer),
            kKeyLock[std::clamp(choices.keyLock, 0, 2)],
            BeepVolume(choices.beepVolume)};
}

std::string BuildLantaDeviceTable(const LantaDeviceChoices& choices) {
    std::string table = "ABFN2N";
    table[2] = OnOff(choices.backlight);
    table[4] = Digit(choices.beepLevel, kMaxLantaBeepLevel);
    table[5] = OnOff(choices.interval);
    return table;
}

std::string BuildEstraDeviceTable(const EstraDeviceChoices& choices) {
    constexpr char kScanner[] = {'P', 'A', 'D'};
    return {kScanner[std::clamp(choices.scanner, 0, 2)],
            OnOff(choices.backlight),
            OnOff(choices.buzzer),
            ' ',
            BeepVolume(choices.beepVolume),
            OnOff(choices.serial),
            Digit(choices.autoOff, kMaxAutoOff),
            ' '};
}

}  // namespace zelo::dialogs
