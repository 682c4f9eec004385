// The batch-script command: a script's lines, one after another, each
// for the addresses it names.
#include <string>

#include "core/command_line.hpp"
#include "core/command_line_values.hpp"
#include "core/command_worker.hpp"
#include "core/core_platform.hpp"

namespace zelo::core {
void CommandWorker::RunBatchScript() {
    CommandLineState& commandLine = state_.commandLine;
    // The script decides about closing only at its end; meanwhile a save
    // keeps the configured AUTO_EXIT.
    const int rememberedAutoExit = commandLine.autoExit;
    state_.runOnly.configuredAutoExit = rememberedAutoExit;
    commandLine.autoExit = 0;

    const std::string fileName = commandLine.tokenCount > 1 ? commandLine.tokens[1] : "";
    // Read whole, from a regular file only: a device or a pipe named as the
    // script would otherwise block or never end, and a folder would read as
    // an empty script.
    std::string contents;
    const ReadResult read = fileName.empty()
                                ? ReadResult::kMissing
                                : view_.Files().ReadFile(fileName, kMaxScriptBytes, contents);
    if (read != ReadResult::kRead) {
        // The program stays open for the user now, so the box is shown.
        state_.status.commandLineMode = 0;
        commandLine.autoExit = rememberedAutoExit;
        state_.runOnly.configuredAutoExit.reset();
        outcome_.scriptMissing = true;
        ui_.ShowMessage(read == ReadResult::kMissing
                            ? "Can't found this file " + fileName + " !"
                            : "Can't read the script " + fileName +
                                  ": it is not a regular file, cannot be read, or is larger than " +
                                  std::to_string(kMaxScriptBytes) + " bytes.");
        return;
    }

    commandLine.abortScript = 0;
    // The stop flag is checked here, on the worker, before every line: a
    // Stop that lands between two lines finds no operation marked running,
    // and the next line must still not start.
    auto stopped = [&] {
        return operations_.IsStopRequested() != 0 || commandLine.abortScript.load() != 0;
    };
    for (const ScriptLine& line : ScriptLinesOf(contents)) {
        if (stopped()) break;
        if (line.tooLong) {
            // Cutting it would run its tail as a command of its own.
            Tell("Script line " + std::to_string(line.number) + " is longer than " +
                 std::to_string(kMaxScriptLine) + " characters; nothing of it was run.");
            outcome_.scriptLineRefused = true;
            continue;
        }
        RunScriptLine(line.text, fileName + ", line " + std::to_string(line.number));
    }

    // A stopped script, whether stopped inside a line or between two, offers
    // its restart; one that ran to its end does not.
    commandLine.abortScript = operations_.IsStopRequested() != 0 ? 1 : 0;
    commandLine.autoExit = rememberedAutoExit;
    state_.runOnly.configuredAutoExit.reset();
}

bool CommandWorker::RunScriptLine(const std::string& piece, const std::string& where) {
    const std::vector<std::string> tokens = SplitScriptLine(piece);
    if (tokens.empty()) return false;
    CommandLineState& commandLine = state_.commandLine;
    link::LinkStatus& status = state_.status;

    // Each line stands alone: nothing of an earlier line's tokens remains.
    for (auto& token : commandLine.tokens) token.clear();
    std::copy(tokens.begin(), tokens.end(), commandLine.tokens.begin());
    commandLine.tokenCount = static_cast<int>(tokens.size());

    // Characters are taken as written: the letters only in upper case.
    const CommandCharacter* command =
        tokens.size() >= 2 ? FindCommandCharacter(tokens[1][0]) : nullptr;
    if (command == nullptr || static_cast<int>(tokens.size()) < command->tokensNeeded) {
        status.commandLineMode = 0;
        // Skipped as before; the operator is told which line and why.
        std::string why;
        if (tokens.size() < 2) {
            why = "no command character";
        } else if (command == nullptr) {
            why = "unknown command character \"" + std::string(1, tokens[1][0]) + "\"";
        } else {
            why = "too few parts for command " + std::string(1, tokens[1][0]);
        }
        view_.Duties().ShowOperatorNote(where + ": " + why + "; line skipped");
        return false;
    }
    const std::string refusal = CheckRunArguments(tokens, *command);
    if (!refusal.empty()) {
        Tell(refusal);
        status.commandLineMode = 0;
        return false;
    }

    if (!state_.runOnly.configuredAddresses)
        state_.runOnly.configuredAddresses = state_.comm.addresses;
    state_.comm.addresses = tokens[0];
    PublishDisplay(state_);
    status.commandLineMode = 1;
    if (!MakeLineReady() || operations_.IsStopRequested() != 0) return false;

    // As a command line's command: its file or program from the tokens,
    // every terminal of its list.
    PutCommandLineValues(tokens, command->commandCode, state_, arguments_);
    chosen_ = {};
    CallOperation(command->commandCode, 0);
    return true;
}

}  // namespace zelo::core
