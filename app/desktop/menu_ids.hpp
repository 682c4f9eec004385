#pragma once

#include <array>

#include "core/command_menu.hpp"

namespace zelo::desktop {

// A menu id as the window's actions hold it.
constexpr int MenuId(core::MenuCommand command) { return static_cast<int>(command); }

// The worker commands and Stop have their ids in core::MenuCommand; these
// are the ids of the main window's own items, which start no worker.
inline constexpr int kMenuStop = MenuId(core::MenuCommand::kStop);
inline constexpr int kMenuPoll = MenuId(core::MenuCommand::kPoll);

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

// The toolbar's buttons, left to right; each shows the picture named by its
// id.
inline constexpr std::array<core::MenuCommand, 16> kToolbarCommands = {
    core::MenuCommand::kAutoBoot,
    core::MenuCommand::kBarcodeTable,
    core::MenuCommand::kCommTable,
    core::MenuCommand::kTimeAndDate,
    core::MenuCommand::kDeviceTable,
    core::MenuCommand::kDirectory,
    core::MenuCommand::kDownloadListedFiles,
    core::MenuCommand::kExecAreaSize,
    core::MenuCommand::kPoll,
    core::MenuCommand::kErase,
    core::MenuCommand::kRamSize,
    core::MenuCommand::kRun,
    core::MenuCommand::kUploadListedFiles,
    core::MenuCommand::kUpsOff,
    core::MenuCommand::kWarmStart,
    core::MenuCommand::kStop,
};

}  // namespace zelo::desktop
