#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "link/comm_settings.hpp"
#include "link/command_line_state.hpp"
#include "link/poll_settings.hpp"
#include "link/transfer_lists.hpp"

namespace zelo::core {

// The multi-terminal file lists, the polling settings and the command-line
// state belong to the connection object's operations; the view holds them
// under these names.
using link::CommandLineState;
using link::kCommandLineTokens;
using link::kListFiles;
using link::PollSettings;
using link::TransferLists;

inline constexpr std::size_t kPhoneBookEntries = 100;
inline constexpr std::size_t kMaxPhoneNumber = 20;
inline constexpr std::size_t kMaxPhoneName = 30;

// Modem numbers; entry i of the file (001..100) is element i - 1.
struct PhoneBook {
    struct Entry {
        std::string number;
        std::string name;
    };
    std::array<Entry, kPhoneBookEntries> entries;
};

// The time the clock-setting command sends, as the date and time dialog set
// it; kept for the run, not in the configuration file.
struct TimeSyncRequest {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    int useSetTime = 0;  // 1: send this time instead of the PC clock
};

// The line settings the communication-table command sends to the terminals,
// with the same codes as CommSettings.
struct CommTableRequest {
    int baudIndex = link::kBaudIndex9600;
    int dataBitsIndex = 1;
    int stopBitsIndex = 0;
    int parity = 0;
    int changePcParameters = 0;  // 1: reconnect with these settings after sending them
};

}  // namespace zelo::core
