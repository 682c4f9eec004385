#pragma once

#include <cstddef>
#include <string>

#include "core/command_table.hpp"
#include "core/core_platform.hpp"
#include "core/model_state.hpp"

namespace zelo::dialogs {

// The remote set-up dialog's path edit holds what the configuration keeps.
inline constexpr std::size_t kMaxLantaConfigPath = 99;
// A configuration file is a few lines; anything larger is not one.
inline constexpr std::size_t kMaxLantaFileBytes = 64 * 1024;

struct LantaCommand {
    bool start = false;   // start the Lanta table command (kLantaTable) with args.lantaRecord
    std::string message;  // to show first, when not empty
};

// The remote set-up dialog's OK: the file must exist; its path becomes the
// configured one; the record is built into args.lantaRecord. A file with
// no field still starts the command, after its message; a file the record
// cannot hold whole starts nothing.
LantaCommand PrepareLantaCommand(core::Platform& platform, const std::string& configPath,
                                 core::ModelState& state, core::CommandArguments& args);

}  // namespace zelo::dialogs
