#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "link/comm_settings.hpp"
#include "link/command_line_state.hpp"
#include "link/operation_requests.hpp"
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
inline constexpr std::size_t kMaxPhoneNumber = 30;
inline constexpr std::size_t kMaxPhoneName = 30;

// Modem numbers; entry i of the file (001..100) is element i - 1.
struct PhoneBook {
    struct Entry {
        std::string number;
        std::string name;
    };
    std::array<Entry, kPhoneBookEntries> entries;
};

// Requests the clock-setting and communication-table commands send; the
// connection object's operations take them.
using link::CommTableRequest;
using link::TimeSyncRequest;

}  // namespace zelo::core
