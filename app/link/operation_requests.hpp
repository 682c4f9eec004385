#pragma once

#include <array>
#include <string>

#include "link/comm_settings.hpp"

namespace zelo::link {

// Which of a terminal's drives a directory listing, an auto-run program or
// a program to run is on.
enum class Disk : int { kRam = 0, kFlashRom = 1 };

// The last directory listing of each address position, for the file choice
// dialogs; written by the directory query while it runs.
using DirectoryTexts = std::array<std::string, kAddressSlots>;

// The time the clock-setting command sends, as the date and time dialog set
// it; kept for the run, not in the configuration file.
struct TimeSyncRequest {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    bool useSetTime = false;  // send this time instead of the PC clock
};

// The line settings the communication-table command sends to the terminals,
// with the same codes as CommSettings.
struct CommTableRequest {
    int baudIndex = kBaudIndex9600;
    int dataBitsIndex = 1;
    int stopBitsIndex = 0;
    int parity = 0;
    bool changePcParameters = false;  // reconnect with these settings after sending them
};

}  // namespace zelo::link
