#pragma once

#include <span>
#include <string_view>

namespace zelo::core {

// The menu and toolbar commands that run on the worker, and Stop, by their
// menu ids. The ids are fixed: the desktop's menus and toolbar and the
// stored resources use them.
enum class MenuCommand : int {
    kColdStart = 32778,
    kConnect = 32841,
    kDisconnect = 32842,
    kDownloadChosenFiles = 32780,
    kDownloadListedFiles = 32779,
    kRamSize = 32782,
    kRomSize = 32851,
    kPowerSavingOn = 32790,
    kPowerSavingOff = 32789,
    kDirectory = 32784,
    kDirectoryFlashRom = 32848,
    kWarmStart = 32812,
    kUploadChosenFiles = 32811,
    kUploadListedFiles = 32810,
    kTimeAndDate = 32808,
    kBarcodeTable = 32796,
    kAddress = 32794,
    kFirmwareVersion = 32850,
    kTerminalId = 32786,
    kFileList = 32785,
    kUploadMode = 32826,
    kRunningProgram = 32783,
    kCommTable = 32800,
    kBuzzerLow = 32797,
    kBuzzerMedium = 32798,
    kBuzzerHigh = 32799,
    kDeviceTable = 32801,
    kKeysLock = 32804,
    kKeysUnlock = 32805,
    kKeysPartialLock = 32806,
    kKeysRestoreMap = 32827,
    kUpsOff = 32809,
    kSendData = 32793,
    kPassword = 32807,
    kFontAll = 32829,
    kFont16x8 = 32830,
    kFont32x16 = 32831,
    kExecAreaSize = 32802,
    kAutoBoot = 32795,
    kAutoBootFlashRom = 32861,
    kPoll = 32814,
    kRun = 32792,
    kRunFlashRom = 32849,
    kErase = 32791,
    kLantaCfg = 32788,
    kKermit = 32787,
    kTest = 32860,
    kBatchScript = 32853,
    kStop = 32813,  // runs no worker; ProgramController::Stop and BeginStop
};

// One worker command of the menu: its id, its caption as the menu shows
// it, the command code it stores, the argument it sets on the way, and the
// prompt the status bar shows while the pointer is on it (empty for none).
struct MenuEntry {
    MenuCommand command;
    std::string_view caption;
    int commandCode;
    enum class Sets { kNothing, kFlashRom, kOptionValue, kKeypadMode } sets;
    int value;
    std::string_view prompt;
};

// The entry for `command`; null for a command that starts no worker (Stop).
const MenuEntry* FindMenuEntry(MenuCommand command);
// Every worker command of the menu, in the table's order.
std::span<const MenuEntry> MenuEntries();

}  // namespace zelo::core
