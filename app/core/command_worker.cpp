#include "core/command_worker.hpp"

#include <zelodll.h>

#include <algorithm>
#include <chrono>

#include "core/command_line.hpp"
#include "link/link_readiness.hpp"

namespace zelo::core {
namespace {

constexpr const char* kNoFileMessage = "No file to be setting!";

bool AllEmpty(const std::array<std::string, kListFiles>& names) {
    return std::all_of(names.begin(), names.end(), [](const auto& n) { return n.empty(); });
}

}  // namespace

CommandWorker::CommandWorker(ProgramModel& view, link::TerminalOperations& operations,
                             UserInterface& ui)
    : view_(view), state_(view.State()), operations_(operations), ui_(ui) {}

CommandWorker::~CommandWorker() { Join(); }

bool CommandWorker::Start(int code) {
    if (stopping_) return false;
    // Busy from here, not from the worker's first step, so that a Stop in
    // between still reaches the command and a second Start is refused.
    int idle = 0;
    if (!workerBusy_.compare_exchange_strong(idle, 1)) return false;
    if (thread_.joinable()) thread_.join();  // the last worker has already ended
    commandCode_ = code;
    thread_ = std::thread([this] { CommandThread(); });
    return true;
}

void CommandWorker::Join() {
    if (thread_.joinable()) thread_.join();
}

void CommandWorker::BeginStop() {
    if (stopping_) return;
    stopping_ = true;
    stopLineWritten_ = false;
    if (workerBusy_.load() == 1) {
        operations_.RequestStop();
        HM_stop_communication();  // also ends a wait outside an operation's loop
    }
    StopRunningLoop();
}

bool CommandWorker::StopRunningLoop() {
    link::LinkStatus& status = state_.status;
    if (status.idle.load() != 0) return false;
    HM_stop_communication();
    if (status.commandLineMode.load() == 1) state_.commandLine.abortScript = 1;
    if (!stopLineWritten_) {
        stopLineWritten_ = true;
        operations_.ShowResult(' ', " Stop communication ", " ", -1);
    }
    // Last: the stopped operation waits for this, and everything above is
    // then in place before it goes on.
    status.idle = 1;
    return true;
}

bool CommandWorker::PollStop() {
    if (!stopping_) return true;
    if (workerBusy_.load() != 0) {
        // Told again on every poll: the library cuts only the waits of a
        // call that was under way when told (the line's opening, a probe for
        // a terminal, a modem wait), so the call that began since the last
        // poll ends too, within one poll.
        HM_stop_communication();
        // An operation that marked itself running after BeginStop looked
        // would otherwise wait for an idle flag nobody sets any more.
        StopRunningLoop();
        return false;
    }
    Join();
    state_.progress.countdown = 0;
    stopping_ = false;
    return true;
}

void CommandWorker::Stop() {
    BeginStop();
    while (!PollStop()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void CommandWorker::CommandThread() {
    const int code = commandCode_.load();
    // Closing the line at program end reports nothing of its own: the run's
    // outcome stays the last command's.
    const CommandOutcome lastCommand = outcome_;
    outcome_ = {};
    chosen_ = {};
    switch (code) {
        case kConnectLine: {
            // Connected already or no address: nothing to do.
            const int readiness = CheckLinkReadiness();
            if (readiness == link::kLinkNotReady) outcome_.lineUnavailable = true;
            if (readiness >= link::kLinkConnectDirect &&
                !operations_.Connect(state_.comm, state_.status)) {
                outcome_.lineUnavailable = true;
            }
            break;
        }
        case kDisconnectLine: operations_.Disconnect(state_.comm.port, state_.status); break;
        case kReconnectLine:
            operations_.Disconnect(arguments_.reconnectPort, state_.status);
            if (operations_.IsStopRequested() == 0 &&
                !operations_.Connect(state_.comm, state_.status)) {
                outcome_.lineUnavailable = true;
            }
            break;
        case kCloseLine:
            if (state_.status.connected.load() != 0) {
                operations_.Disconnect(state_.comm.port, state_.status);
            }
            break;
        case kLineTest:
            // The marker lines come first, whether or not the line opens.
            operations_.ShowResult('A', "1", "", 0);
            operations_.ShowResult('A', "2", "", 0);
            if (MakeLineReady()) operations_.LineTest(state_.status);
            break;
        case kBatchScript: RunBatchScript(); break;
        default:
            if (code >= kFirstCommand && code <= kLastCommand) RunFramedCommand(code);
            break;
    }
    EndCommand(code == kCloseLine ? &lastCommand : nullptr);
}

void CommandWorker::RunFramedCommand(int code) {
    bool onEmsDrive = false;
    if (!RunBeforeLinkChecks(code, onEmsDrive)) return;
    // A Stop that came before the operation started ends the command here:
    // nothing is begun after Stop.
    if (operations_.IsStopRequested() != 0) return;
    if (!MakeLineReady()) return;
    if (operations_.IsStopRequested() != 0) return;
    CallOperation(code, onEmsDrive);
}

bool CommandWorker::RunBeforeLinkChecks(int code, bool& onEmsDrive) {
    // Only the Delmar has an EMS drive, so only its operator is asked.
    const bool hasEms = state_.comm.terminalType == link::kDelmar;
    switch (code) {
        case kDownloadChosenFiles:
            onEmsDrive = hasEms && ui_.AskYesNo("Download to EMS?");
            return true;
        case kDownloadListedFiles:
        case kUploadListedFiles: {
            if (state_.status.commandLineMode.load() != 0) return true;
            const bool download = code == kDownloadListedFiles;
            if (AllEmpty(download ? state_.lists.downloadFiles : state_.lists.uploadFiles)) {
                ui_.ShowMessage(kNoFileMessage);
                return false;
            }
            onEmsDrive = hasEms && ui_.AskYesNo(download ? "Download to EMS?" : "Upload from EMS?");
            return true;
        }
        default: return true;
    }
}

bool CommandWorker::ConfirmDial() {
    // The run's number in command-line mode, else the dial dialog.
    if (state_.status.commandLineMode.load() == 1) {
        state_.comm.dialNumber = state_.commandLine.phoneNumber;
        return true;
    }
    std::optional<std::string> number = ui_.ChooseDialNumber(state_.phoneBook);
    if (!number || number->empty()) return false;
    state_.comm.dialNumber = number->substr(0, link::kMaxDialNumber);
    return true;
}

int CommandWorker::CheckLinkReadiness() {
    return link::CheckLinkReadiness(state_.comm, state_.status, [this] { return ConfirmDial(); });
}

bool CommandWorker::MakeLineReady() {
    const int readiness = CheckLinkReadiness();
    if (readiness == link::kLinkOpen) return true;
    if (readiness == link::kLinkNotReady || !operations_.Connect(state_.comm, state_.status)) {
        outcome_.lineUnavailable = true;
        return false;
    }
    return true;
}

bool CommandWorker::PickFromDirectory(int code, link::Disk disk) {
    operations_.GetDirectory(context_, disk, state_.lists.directoryTexts);
    // Stopped while the listings were read: no dialog. The erase command is
    // held to this too, so that a stopped command never asks anything.
    if (operations_.IsStopRequested() != 0) {
        operations_.WaitUntilIdle(state_.status);
        return false;
    }
    const bool program = code == kAutoBoot || code == kRun;
    PickRequest request;
    if (program) request.title = "Run Program select";
    request.programChoice = program;
    request.addresses = state_.comm.addresses;
    request.listings = &state_.lists.directoryTexts;
    if (code == kErase) request.maxNameLength = kMaxEraseName;
    std::optional<PickAnswer> answer = ui_.PickTerminalFiles(request);
    if (!answer) return false;
    chosen_ = {answer->address, answer->allAddresses != 0};
    if (program) {
        arguments_.runFileName = answer->names.empty() ? std::string() : answer->names.front();
        return true;
    }
    const std::size_t count = std::min(answer->names.size(), kMaxPickedFiles);
    state_.lists.pickedFiles.assign(answer->names.begin(), answer->names.begin() + count);
    return code != kUploadChosenFiles || count >= 1;
}

void CommandWorker::Tell(const std::string& text) {
    if (view_.ClosesByItself()) {
        view_.Writer().ShowBox(text, true);
    } else {
        ui_.ShowMessage(text);
    }
}

void CommandWorker::EndCommand(const CommandOutcome* keepOutcome) {
    const bool stopped = operations_.IsStopRequested() != 0;
    commandCode_ = kNoCommand;
    if (stopped) {
        // Discard what the command line or a script line put in place.
        view_.ReloadConfiguration();
        outcome_.stopped = true;
    } else {
        state_.progress.countdown = 0;
    }
    operations_.ClearStop();
    if (keepOutcome != nullptr) outcome_ = *keepOutcome;
    // Raised before the worker reports itself done, so that whoever waits
    // for the end sees the request with it.
    if (state_.commandLine.autoExit != 0 && state_.status.commandLineMode.load() != 0) {
        exitRequested_ = 1;
    }
    workerBusy_ = 0;
}

}  // namespace zelo::core
