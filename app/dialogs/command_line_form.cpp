#include "dialogs/command_line_form.hpp"

namespace zelo::dialogs {

CommandLineFields OpenCommandLineSettings(core::ProgramModel& view) {
    view.ReloadConfiguration();
    const core::ModelState& state = view.State();
    return {state.commandLine.autoExit, state.status.showErrorBox.load()};
}

bool ConfirmCommandLineSettings(core::ProgramModel& view, const CommandLineFields& fields) {
    core::ModelState& state = view.State();
    state.commandLine.autoExit = fields.autoExit != 0 ? 1 : 0;
    state.status.showErrorBox = fields.showErrorBox != 0 ? 1 : 0;
    return view.SaveConfiguration();
}

}  // namespace zelo::dialogs
