// The worker's command 38: a batch script's lines, one after another, each
// for the addresses it names.
#include <zelodll.h>

#include <cstdio>
#include <memory>

#include "core/command_line.hpp"
#include "core/command_worker.hpp"

namespace zelo::core {
namespace {

constexpr int kCommandLineDownloadPause = 20;  // ms, as for a command-line download

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void CommandWorker::RunBatchScript() {
    CommandLineState& commandLine = state_.commandLine;
    // The script decides about closing only at its end; meanwhile a save
    // keeps the configured AUTO_EXIT.
    const int rememberedAutoExit = commandLine.autoExit;
    state_.runOnly.configuredAutoExit = rememberedAutoExit;
    commandLine.autoExit = 0;

    const std::string fileName = commandLine.tokenCount > 1 ? commandLine.tokens[1] : "";
    std::unique_ptr<std::FILE, FileCloser> file(
        fileName.empty() ? nullptr : std::fopen(fileName.c_str(), "r"));
    if (!file) {
        ui_.ShowMessage("Can't found this file " + fileName + " !");
        state_.status.commandLineMode = 0;
        commandLine.autoExit = rememberedAutoExit;
        state_.runOnly.configuredAutoExit.reset();
        outcome_.scriptMissing = true;
        return;
    }

    commandLine.abortScript = 0;
    // A longer line is read in pieces, each handled as a line of its own.
    char piece[kMaxScriptRead + 1];
    // The stop flag is checked here, on the worker, before every line: a
    // Stop that lands between two lines finds no operation marked running,
    // and the next line must still not start.
    auto stopped = [&] {
        return operations_.IsStopRequested() != 0 || commandLine.abortScript.load() != 0;
    };
    while (!stopped() && std::fgets(piece, sizeof piece, file.get()) != nullptr) {
        RunScriptLine(piece);
    }
    file.reset();

    // A stopped script, whether stopped inside a line or between two, offers
    // its restart; one that ran to its end does not.
    commandLine.abortScript = operations_.IsStopRequested() != 0 ? 1 : 0;
    commandLine.autoExit = rememberedAutoExit;
    state_.runOnly.configuredAutoExit.reset();
}

bool CommandWorker::RunScriptLine(const std::string& piece) {
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
        return false;
    }
    const std::string refusal = CheckRunArguments(tokens, *command);
    if (!refusal.empty()) {
        ui_.ShowMessage(refusal);
        status.commandLineMode = 0;
        return false;
    }

    if (!state_.runOnly.configuredAddresses)
        state_.runOnly.configuredAddresses = state_.comm.addresses;
    state_.comm.addresses = tokens[0];
    status.commandLineMode = 1;
    if (!MakeLineReady() || operations_.IsStopRequested() != 0) return false;

    TerminalOperations& op = operations_;
    link::CommSettings& comm = state_.comm;
    link::ProgressState& progress = state_.progress;
    TransferLists& lists = state_.lists;
    switch (command->commandCode) {
        case kPoll: op.Poll(comm, status, state_.poll, progress); break;
        case kWarmStart: op.WarmStart(comm, status, progress); break;
        case kErase:
            if (!state_.runOnly.configuredDeleteFileName) {
                state_.runOnly.configuredDeleteFileName = lists.deleteFileName;
            }
            lists.deleteFileName = tokens[2];
            op.PurgeFiles(comm, status, lists, commandLine, progress, ' ', 1);
            break;
        case kDownloadListedFiles:
            HM_time_delay(kCommandLineDownloadPause);
            op.DownloadByCommandLine(comm, status, lists, commandLine, progress);
            break;
        case kTimeAndDate: op.SyncTime(comm, status, state_.timeSync, commandLine, progress); break;
        case kUploadListedFiles:
            op.UploadByCommandLine(comm, status, lists, commandLine, progress);
            break;
        case kRun:
            arguments_.runFileName = tokens[2];
            op.RunProgram(comm, status, lists, commandLine, progress, ' ', 1, 0, tokens[2]);
            break;
        default: break;
    }
    return true;
}

}  // namespace zelo::core
