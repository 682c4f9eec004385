#pragma once

#include <array>

namespace zelo::desktop {

// Menu ids of the main window beyond the terminal commands of the command
// table (which keeps its own ids).
inline constexpr int kMenuStop = 32813;
inline constexpr int kMenuPoll = 32814;

inline constexpr int kMenuPollWindowClear = 32815;
inline constexpr int kMenuPollWindowHide = 32816;
inline constexpr int kMenuPollWindowShow = 32817;
inline constexpr int kMenuMessageWindowClear = 32818;
inline constexpr int kMenuMessageWindowHide = 32819;
inline constexpr int kMenuMessageWindowShow = 32820;
inline constexpr int kMenuFontLarger = 32837;
inline constexpr int kMenuFontSmaller = 32835;

// The settings menu's dialogs, which start no worker.
inline constexpr int kMenuTerminalType = 32870;
inline constexpr int kMenuParameters = 32871;
inline constexpr int kMenuDownloadList = 32872;
inline constexpr int kMenuUploadList = 32873;
inline constexpr int kMenuPollSettings = 32874;
inline constexpr int kMenuTimeSyncSettings = 32875;
inline constexpr int kMenuModem = 32876;
inline constexpr int kMenuCommandLineSettings = 32877;

inline constexpr int kMenuLibraryVersion = 32878;
inline constexpr int kMenuAbout = 57664;
inline constexpr int kMenuExit = 57665;

// The toolbar's buttons, left to right.
inline constexpr std::array<int, 16> kToolbarCommands = {
    32795,  // auto-run program
    32796,  // bar-code setting table
    32800,  // communication table
    32808,  // time and date
    32801,  // device table
    32784,  // directory
    32779,  // download the predefined files
    32802,  // executable area size
    kMenuPoll,
    32791,  // erase
    32782,  // RAM size
    32792,  // run
    32810,  // upload the predefined files
    32809,  // UPS off
    32812,  // warm start
    kMenuStop,
};

}  // namespace zelo::desktop
