#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "link/comm_settings.hpp"
#include "link/operation_requests.hpp"

namespace zelo::core {

// Entries in each multi-terminal file list.
inline constexpr std::size_t kListFiles = 12;

// Multi-terminal file lists and what goes with them. Written by the user
// interface thread before a command's worker starts.
struct TransferLists {
    // Where the per-address upload folders are made, without a trailing
    // separator; fixed for the whole run.
    std::string workingDirectory;
    std::array<std::string, kListFiles> downloadFiles;
    std::array<std::string, kListFiles> uploadFiles;
    std::array<int, kListFiles> deleteAfterUpload{};  // 1: erase on the terminal after upload
    int uploadSaveMode = 0;                           // 0 new name, 1 over-write, 2 append
    int uploadLoop = 0;                               // repeat the upload list
    int uploadPeriod = 60;                            // seconds between two rounds
    std::string deleteFileName;   // the erase command's file in command-line mode
    std::string lantaConfigName;  // the Lanta configuration file
    // The last directory listing of each address position, for the file
    // choice dialogs; written by the directory query while it runs.
    std::array<std::string, link::kAddressSlots> directoryTexts;
    // Up to kAddressSlots names picked in the last file dialog.
    std::vector<std::string> pickedFiles;
};

// Polling and clock synchronisation settings.
struct PollSettings {
    std::string pollFileName = "POLL.DAT";
    int openMethod = 0;  // 0 append, 1 new
    int maxError = 1;
    int pollingPeriod = 0;  // 0 continuous, 1 specify, 2 exit when no data in period, 3 re-poll
    int rePollNoData = 30;
    int rePollTime = 60;
    int pollMaxWait = 10;
    std::string startTime = "00:00:00";
    std::string stopTime = "23:59:59";
    int notAppendCrLf = 1;
    int autoTimeSync = 0;  // 0 none, 1 at start, 2 in a window
    std::string autoSyncStart = "06:00:00";
    std::string autoSyncStop = "08:00:00";
};

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

// Requests the clock-setting and communication-table commands send; the
// connection object's operations take them.
using link::CommTableRequest;
using link::TimeSyncRequest;

inline constexpr std::size_t kCommandLineTokens = 5;

// Command-line mode.
struct CommandLineState {
    int autoExit = 1;  // close the program when a command-line run is done
    // Set by the user interface thread to end a running batch script.
    std::atomic<int> abortScript{0};
    std::array<std::string, kCommandLineTokens> tokens;
    int tokenCount = 0;
    std::string phoneNumber;  // the number to dial for this run, when the modem is used
};

}  // namespace zelo::core
