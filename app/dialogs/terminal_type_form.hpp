#pragma once

#include <array>
#include <string_view>

#include "core/library_settings.hpp"
#include "core/program_model.hpp"

namespace zelo::dialogs {

// The terminal type dialog's radio buttons, in index order: the index is
// the terminal type.
inline constexpr std::array<std::string_view, 7> kTerminalTypeCaptions = {
    "Gravo/Halda", "Fenna", "Lanta", "Estra", "Delmar", "Corvo/Corvo2", "Brisa"};

struct TerminalTypeFields {
    int typeIndex = 0;
    int useStandardDelays = 1;  // checked every time the dialog opens
};

// The dialog's start: the held type, standard delays checked. The
// configuration file is not re-read.
TerminalTypeFields OpenTerminalType(const core::ModelState& state);

// OK: stores the type, loads the family's timing and power saving when
// standard delays are asked for (also for the same model), tells the library
// the power saving, saves the configuration and gives every address the new
// type (Brisa counts as Corvo there). False when the file was not written;
// the records hold the new values all the same.
bool ConfirmTerminalType(core::ProgramModel& view, const TerminalTypeFields& fields,
                         core::LibrarySettings& library);

}  // namespace zelo::dialogs
