#pragma once

#include <string_view>

namespace zelo::core {

// One menu or toolbar command that runs on the worker: its menu id, its
// caption as the menu shows it, the command code it stores, and the
// argument it sets on the way.
struct MenuCommand {
    int menuId;
    std::string_view caption;
    int commandCode;
    enum class Sets { kNothing, kFlashRom, kOptionValue, kKeypadMode } sets;
    int value;
};

// The entry for `menuId`; null for an id that starts no worker.
const MenuCommand* FindMenuCommand(int menuId);

}  // namespace zelo::core
