#pragma once

#include <string>
#include <string_view>

#include "core/core_platform.hpp"
#include "core/front_end_duties.hpp"
#include "core/library_settings.hpp"
#include "core/model_state.hpp"

namespace zelo::core {

// Where the configuration file and the error log live: the working
// directory at start-up, fixed for the run.
struct ConfigurationLocation {
    std::string workingDirectory;  // without a trailing separator
    std::string configurationPath;
    std::string errorLogPath;
};

// From the process's working directory: one trailing separator (a drive
// root such as "C:\") is dropped, so that exactly one stands before the
// file names.
ConfigurationLocation LocateConfiguration(std::string_view currentDirectory, char separator);

// What a load does when the file names no known terminal model: at the
// program's start the user is asked (the Terminal dialog); any later load
// (a settings dialog, the end of a stopped command on the worker thread,
// where no dialog may open) keeps type 0 quietly. Only the start-up load
// (kAskUser) takes FONT_SIZE: later the window menu owns the font size.
enum class MissingModel { kAskUser, kUseDefault };

// Fills the records from Zelocom.ini; every key missing from the file (or
// the whole file) takes its default, so loading cannot fail. When the file
// names no known terminal model the terminal type becomes 0 and, with
// kAskUser, the view is asked to open the Terminal dialog.
void LoadConfiguration(Platform& platform, const std::string& path, ModelState& state,
                       FrontEndDuties& view, MissingModel missing);

// Writes every setting back into Zelocom.ini in one atomic replacement,
// keeping whatever else the file holds. False when the file was not
// written (the old file is then intact).
bool SaveConfiguration(Platform& platform, const std::string& path, const ModelState& state);

// The terminal dialog's "standard delays": the timing and power saving of
// the model's family.
void ApplyFamilyPreset(ModelState& state, int terminalType);

// Hands the library its settings after a load: time-out, ESC delay, NAK
// delay, power saving and the upload save mode, in that order.
void PushLibrarySettings(const ModelState& state, LibrarySettings& library = ZeloDllSettings());

}  // namespace zelo::core
