#pragma once

#include <array>
#include <string>

#include "link/operation_requests.hpp"

namespace zelo::core {

// The command codes: one per terminal command, stored in the view before
// the worker starts.
enum CommandCode : int {
    kNoCommand = 0,
    kColdStart = 1,
    kConnectLine = 2,
    kDisconnectLine = 3,
    kDownloadChosenFiles = 4,
    kDownloadListedFiles = 5,
    kRamSize = 6,
    kFlashSize = 7,
    kPowerSavingOn = 8,
    kPowerSavingOff = 9,
    kDirectory = 10,
    kWarmStart = 11,
    kUploadChosenFiles = 12,
    kUploadListedFiles = 13,
    kTimeAndDate = 14,
    kBarcodeTable = 15,
    kAddressChange = 16,
    kFirmwareVersion = 17,
    kTerminalId = 18,
    kFileExists = 19,
    kUploadMode = 20,
    kRunningProgram = 21,
    kCommTable = 22,
    kBuzzer = 23,
    kDeviceTable = 24,
    kKeypad = 25,
    kUpsOff = 26,
    kSendData = 27,
    kPassword = 28,
    kSystemFont = 29,
    kExecAreaSize = 30,
    kAutoBoot = 31,
    kPoll = 32,
    kRun = 33,
    kErase = 34,
    kLantaTable = 35,
    kKermit = 36,
    kLineTest = 37,
    kBatchScript = 38,
};

inline constexpr int kFirstCommand = kColdStart;
inline constexpr int kLastCommand = kBatchScript;

// Work on the line that no menu command names but that must still run on
// the worker, never on the user interface thread: the parameters dialog's
// reconnect (a speed search or a dial can take a minute) and the hang-up
// when the program closes.
enum InternalCommand : int {
    kReconnectLine = 101,  // close the line on reconnectPort, open it with the new settings
    kCloseLine = 102,      // close the line (a modem hangs up) before the program ends
};

// The command's arguments, written by the user interface thread before the
// worker starts and left alone while it runs.
struct CommandArguments {
    link::Disk disk = link::Disk::kRam;  // of the directory, auto-run and run commands
    int optionValue = 0;                 // buzzer level (0, 5, 9) or font kind ('0', '1', '2')
    int keypadMode = '0';
    std::array<char, 2> addressChange{'A', 'A'};  // from, to
    std::string barcodeTable;
    std::string deviceTable;
    std::string textArgument;  // the one-line input dialog's text, at most 99 characters
    std::string lantaRecord;
    std::string runFileName;  // the program of the auto-run and run commands
    int reconnectPort = 1;    // the port the line is open on, for kReconnectLine
};

// What the worker's choice steps leave for the operation.
struct ChosenTarget {
    char address = ' ';
    bool allAddresses = true;  // the choice dialogs start with every terminal
};

// The menu's groups, as the enabling rules see them.
enum class MenuGroup {
    kTerminalOrSettings,  // every terminal command but connect, disconnect and the script restart,
                          // and the settings dialogs
    kConnect,             // kConnectLine
    kDisconnect,          // kDisconnectLine
    kRestartScript,       // kBatchScript, restarting a stopped script
    kAlways,              // Stop, exit, window and help
};

MenuGroup MenuGroupOf(int commandCode);

// The state the enabling rules read; a menu or toolbar asks with a fresh
// snapshot whenever it is drawn.
struct EnablingState {
    int idle = 1;
    int workerBusy = 0;
    int connected = 0;
    int commandLineMode = 0;
    int abortScript = 0;
};

bool IsEnabled(MenuGroup group, const EnablingState& state);

}  // namespace zelo::core
