// The worker's step c: the one operation of each command code, looked up
// by the kind of command: transfers, queries, settings, and the commands
// that control the terminal's programs and the line.
#include <zelodll.h>

#include "core/command_worker.hpp"

namespace zelo::core {
namespace {

// A command-line download waits this long (ms) before it starts.
constexpr int kCommandLineDownloadPause = 20;

}  // namespace

// What every operation takes, gathered once per command.
struct CommandWorker::OperationContext {
    TerminalOperations& op;
    link::CommSettings& comm;
    link::LinkStatus& status;
    link::ProgressState& progress;
    TransferLists& lists;
    const CommandLineState& commandLine;
    const CommandArguments& args;
    bool commandLineMode;
};

void CommandWorker::CallOperation(int code, int ems) {
    const OperationContext c{.op = operations_,
                             .comm = state_.comm,
                             .status = state_.status,
                             .progress = state_.progress,
                             .lists = state_.lists,
                             .commandLine = state_.commandLine,
                             .args = arguments_,
                             .commandLineMode = state_.status.commandLineMode.load() != 0};
    if (CallTransfer(c, code, ems)) return;
    if (CallQuery(c, code)) return;
    if (CallSetting(c, code)) return;
    CallControl(c, code);
}

bool CommandWorker::CallTransfer(const OperationContext& c, int code, int ems) {
    switch (code) {
        case kDownloadChosenFiles:
            c.op.DownloadSelectedFiles(c.comm, c.status, c.lists, c.progress, ems);
            return true;
        case kDownloadListedFiles:
            if (c.commandLineMode) {
                HM_time_delay(kCommandLineDownloadPause);
                c.op.DownloadByCommandLine(c.comm, c.status, c.lists, c.commandLine, c.progress);
            } else {
                c.op.DownloadFileList(c.comm, c.status, c.lists, c.commandLine, c.progress, ems);
            }
            return true;
        case kUploadChosenFiles:
            if (PickFromDirectory(code, 0))
                c.op.UploadSelectedFiles(c.comm, c.status, c.lists, c.progress);
            return true;
        case kUploadListedFiles:
            if (c.commandLineMode) {
                c.op.UploadByCommandLine(c.comm, c.status, c.lists, c.commandLine, c.progress);
            } else {
                c.op.UploadFileList(c.comm, c.status, c.lists, c.commandLine, c.progress, ems);
            }
            return true;
        case kErase:
            if (c.commandLineMode || PickFromDirectory(code, 0)) {
                c.op.PurgeFiles(c.comm, c.status, c.lists, c.commandLine, c.progress,
                                chosen_.address, chosen_.allAddresses);
            }
            return true;
        default: return false;
    }
}

bool CommandWorker::CallQuery(const OperationContext& c, int code) {
    switch (code) {
        case kRamSize: c.op.QueryRamSize(c.comm, c.status, c.progress); return true;
        case kFlashSize: c.op.QueryFlashSize(c.comm, c.status, c.progress); return true;
        case kDirectory:
            c.op.GetDirectory(c.comm, c.status, c.lists, c.progress, c.args.flashRom);
            return true;
        case kFirmwareVersion: c.op.GetFirmwareVersion(c.comm, c.status, c.progress); return true;
        case kTerminalId: c.op.GetTerminalId(c.comm, c.status, c.progress); return true;
        case kFileExists:
            c.op.CheckFileExists(c.comm, c.status, c.progress, c.args.textArgument);
            return true;
        case kRunningProgram: c.op.CheckRunningProgram(c.comm, c.status, c.progress); return true;
        default: return false;
    }
}

bool CommandWorker::CallSetting(const OperationContext& c, int code) {
    switch (code) {
        case kPowerSavingOn: c.op.SetPowerSaving(c.comm, c.status, c.progress, 1); return true;
        case kPowerSavingOff: c.op.SetPowerSaving(c.comm, c.status, c.progress, 0); return true;
        case kTimeAndDate:
            c.op.SyncTime(c.comm, c.status, state_.timeSync, c.commandLine, c.progress);
            return true;
        case kBarcodeTable:
            c.op.SetBarcodeTable(c.comm, c.status, c.progress, c.args.barcodeTable);
            return true;
        case kAddressChange:
            c.op.ChangeAddress(c.comm, c.status, c.progress, c.args.addressChange[0],
                               c.args.addressChange[1]);
            return true;
        case kUploadMode: c.op.SetUploadMode(c.comm, c.status, c.progress); return true;
        case kCommTable:
            c.op.SetCommParameters(c.comm, c.status, state_.timing.terminalTimeout,
                                   state_.commTable, c.progress,
                                   state_.commTable.changePcParameters);
            return true;
        case kBuzzer:
            c.op.SetBeeperVolume(c.comm, c.status, c.progress, c.args.optionValue);
            return true;
        case kDeviceTable:
            c.op.SetDeviceTable(c.comm, c.status, c.progress, c.args.deviceTable);
            return true;
        case kKeypad: c.op.SetKeypad(c.comm, c.status, c.progress, c.args.keypadMode); return true;
        case kUpsOff: c.op.SetUpsOff(c.comm, c.status, c.progress); return true;
        case kPassword:
            c.op.SetPassword(c.comm, c.status, c.progress, c.args.textArgument);
            return true;
        case kSystemFont:
            c.op.RestoreSystemFont(c.comm, c.status, c.progress, c.args.optionValue);
            return true;
        case kExecAreaSize:
            c.op.SetExecAreaSize(c.comm, c.status, c.progress, c.args.textArgument);
            return true;
        case kLantaTable:
            c.op.SendLantaTable(c.comm, c.status, c.lists, c.progress, c.args.lantaRecord);
            return true;
        default: return false;
    }
}

void CommandWorker::CallControl(const OperationContext& c, int code) {
    switch (code) {
        case kColdStart: c.op.ColdStart(c.comm, c.status, c.progress); break;
        case kWarmStart: c.op.WarmStart(c.comm, c.status, c.progress); break;
        case kSendData: c.op.SendData(c.comm, c.status, c.progress, c.args.textArgument); break;
        case kAutoBoot:
            if (PickFromDirectory(code, c.args.flashRom)) {
                c.op.SetAutoBoot(c.comm, c.status, c.lists, c.progress, chosen_.address,
                                 chosen_.allAddresses, c.args.flashRom, c.args.runFileName);
            }
            break;
        case kRun:
            // From the command line the program is the run's third token and
            // every terminal of the list takes part.
            if (c.commandLineMode || PickFromDirectory(code, c.args.flashRom)) {
                c.op.RunProgram(c.comm, c.status, c.lists, c.commandLine, c.progress,
                                chosen_.address, chosen_.allAddresses, c.args.flashRom,
                                c.args.runFileName);
            }
            break;
        case kPoll: c.op.Poll(c.comm, c.status, state_.poll, c.progress); break;
        case kKermit: c.op.ExecuteKermit(c.comm, c.status, c.progress); break;
        default: break;
    }
}

}  // namespace zelo::core
