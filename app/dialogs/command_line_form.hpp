#pragma once

#include "core/program_model.hpp"

namespace zelo::dialogs {

// The command-line settings dialog's two check boxes.
struct CommandLineFields {
    int autoExit = 1;
    int showErrorBox = 1;
};

// The dialog always starts from the file.
CommandLineFields OpenCommandLineSettings(core::ProgramModel& view);
// OK: stores both and saves. False when the file was not written.
bool ConfirmCommandLineSettings(core::ProgramModel& view, const CommandLineFields& fields);

}  // namespace zelo::dialogs
