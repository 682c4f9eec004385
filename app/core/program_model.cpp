#include "core/program_model.hpp"

#include "core/terminal_types.hpp"

namespace zelo::core {

ProgramModel::ProgramModel(Platform& platform, FrontEndDuties& view)
    : platform_(platform), view_(view), writer_(platform, state_.status, errorLog_, view) {
    link_.AttachView(view_, writer_, &state_);
    writer_.SetClosesByItself([this] { return ClosesByItself(); });
}

bool ProgramModel::ClosesByItself() const {
    // A running script holds AUTO_EXIT at 0 and clears command-line mode on
    // a line it skips; the configured value decides for all its lines.
    if (state_.runOnly.configuredAutoExit) return *state_.runOnly.configuredAutoExit != 0;
    const bool commandLine = state_.status.commandLineMode.load() != 0 || commandLineFollows_;
    return commandLine && state_.commandLine.autoExit != 0;
}

void ProgramModel::StartUp(bool commandLineFollows) {
    commandLineFollows_ = commandLineFollows;
    location_ = LocateConfiguration(platform_.CurrentDirectory(), platform_.PathSeparator());
    state_.lists.workingDirectory = location_.workingDirectory;
    LoadConfiguration(platform_, location_.configurationPath, state_, view_,
                      MissingModel::kAskUser);
    PushLibrarySettings(state_);
    if (const std::string box =
            OpenErrorLog(errorLog_, state_.errorLogMode, location_.errorLogPath);
        !box.empty()) {
        writer_.ShowBox(box, true);
    }
    // Later loads leave the per-address types alone: the terminal query
    // updates them from what each terminal says it is.
    for (auto& type : state_.progress.typeFound) type = TypeFoundFor(state_.comm.terminalType);
    commandLineFollows_ = false;
    PublishDisplay(state_);
}

void ProgramModel::ReloadConfiguration() {
    LoadConfiguration(platform_, location_.configurationPath, state_, view_,
                      MissingModel::kUseDefault);
    PublishDisplay(state_);
}

bool ProgramModel::SaveConfiguration() {
    // Every settings dialog saves on OK: the display shows what it stored.
    PublishDisplay(state_);
    return zelo::core::SaveConfiguration(platform_, location_.configurationPath, state_);
}

void ProgramModel::ChangeErrorLogMode(int mode) {
    if (mode == state_.errorLogMode) return;
    errorLog_.Close();
    state_.errorLogMode = mode;
    if (const std::string box =
            OpenErrorLog(errorLog_, state_.errorLogMode, location_.errorLogPath);
        !box.empty()) {
        writer_.ShowBox(box, true);
    }
}

void ProgramModel::ShutDown() {
    SaveConfiguration();
    errorLog_.Close();
}

}  // namespace zelo::core
