#include "core/program_controller.hpp"

#include <cctype>

#include "core/command_line.hpp"
#include "core/command_line_values.hpp"
#include "core/command_menu.hpp"

namespace zelo::core {
namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

}  // namespace

ProgramController::ProgramController(ProgramModel& view, CommandWorker& worker, UserInterface& ui)
    : view_(view), state_(view.State()), worker_(worker), ui_(ui) {}

CommandLineResult ProgramController::StartUp(std::string_view commandLine) {
    view_.StartUp(commandLine.find_first_not_of(' ') != std::string_view::npos);
    commandLineResult_ = HandleCommandLine(commandLine);
    return commandLineResult_;
}

CommandLineResult ProgramController::HandleCommandLine(std::string_view commandLine) {
    // A copy first: the restart passes commandLine_ itself.
    const std::string text(commandLine);
    commandLine_ = text;
    CommandLineState& cl = state_.commandLine;
    for (auto& token : cl.tokens) token.clear();
    cl.tokenCount = 0;

    SplitCommandLine split = SplitCommandLineText(text, state_.status.useModem.load() != 0);
    if (!split.refusal.empty()) {
        ui_.ShowMessage(split.refusal);
        return CommandLineResult::kRefused;
    }
    if (split.tokens.empty()) return CommandLineResult::kInteractive;

    cl.phoneNumber = split.phoneNumber;
    for (std::size_t i = 0; i < split.tokens.size(); ++i) cl.tokens[i] = split.tokens[i];
    cl.tokenCount = static_cast<int>(split.tokens.size());
    for (char& c : cl.tokens[0]) c = Upper(c);
    state_.status.commandLineMode = 1;

    if (cl.tokens[0][0] == 'Z') {
        // Token 1 is a file name here; it keeps its case, which matters
        // where file names are case-sensitive.
        if (cl.abortScript.load() != 0) return CommandLineResult::kScriptReady;
        return worker_.Start(kBatchScript) ? CommandLineResult::kStarted
                                           : CommandLineResult::kUnusable;
    }
    if (cl.tokenCount > 1) cl.tokens[1][0] = Upper(cl.tokens[1][0]);
    return StartCommandLineCommand();
}

CommandLineResult ProgramController::StartCommandLineCommand() {
    CommandLineState& cl = state_.commandLine;
    const std::vector<std::string> tokens(cl.tokens.begin(), cl.tokens.begin() + cl.tokenCount);
    const CommandCharacter* command =
        tokens.size() >= 2 ? FindCommandCharacter(tokens[1][0]) : nullptr;

    if (tokens[0].size() > link::kMaxAddresses) {
        state_.status.commandLineMode = 0;
        ui_.ShowMessage(CheckRunArguments(tokens, {'1', kPoll, 2}));
        return CommandLineResult::kRefused;
    }
    // These are the terminals of this run, whatever follows; the save keeps
    // the configured list.
    if (!state_.runOnly.configuredAddresses) {
        state_.runOnly.configuredAddresses = state_.comm.addresses;
    }
    state_.comm.addresses = tokens[0];

    if (command == nullptr || static_cast<int>(tokens.size()) < command->tokensNeeded) {
        state_.status.commandLineMode = 0;
        return CommandLineResult::kUnusable;
    }
    const std::string refusal = CheckRunArguments(tokens, *command);
    if (!refusal.empty()) {
        state_.status.commandLineMode = 0;
        ui_.ShowMessage(refusal);
        return CommandLineResult::kRefused;
    }
    PutCommandLineValues(tokens, command->commandCode, state_, worker_.Arguments());
    return worker_.Start(command->commandCode) ? CommandLineResult::kStarted
                                               : CommandLineResult::kUnusable;
}

bool ProgramController::RunCommand(int code) { return worker_.Start(code); }

bool ProgramController::RunMenuCommand(MenuCommand menuCommand) {
    if (!RunOperatorCommand(menuCommand)) return false;
    // The batch-script command only goes on with the command line's script.
    if (menuCommand != MenuCommand::kBatchScript) operatorCommands_ = true;
    return true;
}

bool ProgramController::RunOperatorCommand(MenuCommand menuCommand) {
    const MenuEntry* command = FindMenuEntry(menuCommand);
    if (command == nullptr || worker_.WorkerBusy() != 0 || worker_.Stopping()) return false;
    if (command->commandCode == kBatchScript) return RestartScript();
    CommandArguments& args = worker_.Arguments();
    switch (command->sets) {
        case MenuEntry::Sets::kFlashRom:
            args.disk = command->value == 1 ? link::Disk::kFlashRom : link::Disk::kRam;
            break;
        case MenuEntry::Sets::kOptionValue: args.optionValue = command->value; break;
        case MenuEntry::Sets::kKeypadMode: args.keypadMode = command->value; break;
        case MenuEntry::Sets::kNothing: break;
    }
    if (command->commandCode == kColdStart && !ui_.AskYesNo("Are you sure to Cold Start?")) {
        return false;
    }
    if (command->commandCode == kTimeAndDate && state_.status.commandLineMode.load() == 0 &&
        !ui_.ChooseDateTime(state_.timeSync)) {
        return false;
    }
    return worker_.Start(command->commandCode);
}

RunSummary ProgramController::Summary() const {
    return {commandLineResult_, worker_.LastOutcome(), view_.FailuresReported(), operatorCommands_};
}

bool ProgramController::RestartScript() {
    if (!IsEnabled(MenuGroup::kRestartScript)) return false;
    // Rebuilds the tokens from the program's command line; with the abort
    // flag still set this starts nothing itself.
    HandleCommandLine(commandLine_);
    return worker_.Start(kBatchScript);
}

bool ProgramController::IsEnabled(MenuGroup group) const {
    if (worker_.Stopping()) return group == MenuGroup::kAlways;
    EnablingState snapshot;
    snapshot.idle = state_.status.idle.load();
    snapshot.workerBusy = worker_.WorkerBusy();
    snapshot.connected = state_.status.connected.load();
    snapshot.commandLineMode = state_.status.commandLineMode.load();
    snapshot.abortScript = state_.commandLine.abortScript.load();
    return zelo::core::IsEnabled(group, snapshot);
}

}  // namespace zelo::core

namespace zelo::core {

bool ProgramController::IsEnabled(MenuCommand command) const {
    const MenuEntry* entry = FindMenuEntry(command);
    return IsEnabled(entry == nullptr ? MenuGroup::kAlways : MenuGroupOf(entry->commandCode));
}

}  // namespace zelo::core
