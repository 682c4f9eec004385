#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "link/comm_settings.hpp"

namespace zelo::link {

// Entries in each multi-terminal file list.
inline constexpr std::size_t kListFiles = 12;

// Multi-terminal file lists and what goes with them. Written by the user
// interface thread before a command's worker starts.
struct TransferLists {
    // Where the per-address upload folders are made, without a trailing
    // separator; fixed for the whole run.
    std::string workingDirectory;
    std::array<std::string, kListFiles> downloadFiles;
    // 1: a file for several terminals goes to them at once when the line
    // can ([Multi_download] Broadcast); 0: to one terminal after another.
    int groupDownloads = 1;
    std::array<std::string, kListFiles> uploadFiles;
    std::array<int, kListFiles> deleteAfterUpload{};  // 1: erase on the terminal after upload
    int uploadSaveMode = 0;                           // 0 new name, 1 over-write, 2 append
    int uploadLoop = 0;                               // repeat the upload list
    int uploadPeriod = 60;                            // seconds between two rounds
    std::string deleteFileName;   // the erase command's file in command-line mode
    std::string lantaConfigName;  // the Lanta configuration file
    // The last directory listing of each address position, for the file
    // choice dialogs; written by the directory query while it runs.
    std::array<std::string, kAddressSlots> directoryTexts;
    // Up to kAddressSlots names picked in the last file dialog.
    std::vector<std::string> pickedFiles;
};

}  // namespace zelo::link
