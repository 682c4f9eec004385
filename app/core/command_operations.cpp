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

void CommandWorker::CallOperation(int code, int ems) {
    if (CallTransfer(code, ems)) return;
    if (CallQuery(code)) return;
    if (CallSetting(code)) return;
    CallControl(code);
}

bool CommandWorker::CallTransfer(int code, int ems) {
    TerminalOperations& op = operations_;
    link::CommSettings& comm = state_.comm;
    link::LinkStatus& status = state_.status;
    link::ProgressState& progress = state_.progress;
    TransferLists& lists = state_.lists;
    const CommandLineState& commandLine = state_.commandLine;
    const bool commandLineMode = status.commandLineMode.load() != 0;

    switch (code) {
        case kDownloadChosenFiles:
            op.DownloadSelectedFiles(comm, status, lists, progress, ems);
            return true;
        case kDownloadListedFiles:
            if (commandLineMode) {
                HM_time_delay(kCommandLineDownloadPause);
                op.DownloadByCommandLine(comm, status, lists, commandLine, progress);
            } else {
                op.DownloadFileList(comm, status, lists, commandLine, progress, ems);
            }
            return true;
        case kUploadChosenFiles:
            if (PickFromDirectory(code, 0)) op.UploadSelectedFiles(comm, status, lists, progress);
            return true;
        case kUploadListedFiles:
            if (commandLineMode) {
                op.UploadByCommandLine(comm, status, lists, commandLine, progress);
            } else {
                op.UploadFileList(comm, status, lists, commandLine, progress, ems);
            }
            return true;
        case kErase:
            if (commandLineMode || PickFromDirectory(code, 0)) {
                op.PurgeFiles(comm, status, lists, commandLine, progress, chosen_.address,
                              chosen_.allAddresses);
            }
            return true;
        default: return false;
    }
}

bool CommandWorker::CallQuery(int code) {
    TerminalOperations& op = operations_;
    link::CommSettings& comm = state_.comm;
    link::LinkStatus& status = state_.status;
    link::ProgressState& progress = state_.progress;
    const CommandArguments& args = arguments_;

    switch (code) {
        case kRamSize: op.QueryRamSize(comm, status, progress); return true;
        case kFlashSize: op.QueryFlashSize(comm, status, progress); return true;
        case kDirectory:
            op.GetDirectory(comm, status, state_.lists, progress, args.flashRom);
            return true;
        case kFirmwareVersion: op.GetFirmwareVersion(comm, status, progress); return true;
        case kTerminalId: op.GetTerminalId(comm, status, progress); return true;
        case kFileExists:
            op.CheckFileExists(comm, status, progress, args.textArgument);
            return true;
        case kRunningProgram: op.CheckRunningProgram(comm, status, progress); return true;
        default: return false;
    }
}

bool CommandWorker::CallSetting(int code) {
    TerminalOperations& op = operations_;
    link::CommSettings& comm = state_.comm;
    link::LinkStatus& status = state_.status;
    link::ProgressState& progress = state_.progress;
    const CommandArguments& args = arguments_;

    switch (code) {
        case kPowerSavingOn: op.SetPowerSaving(comm, status, progress, 1); return true;
        case kPowerSavingOff: op.SetPowerSaving(comm, status, progress, 0); return true;
        case kTimeAndDate:
            op.SyncTime(comm, status, state_.timeSync, state_.commandLine, progress);
            return true;
        case kBarcodeTable:
            op.SetBarcodeTable(comm, status, progress, args.barcodeTable);
            return true;
        case kAddressChange:
            op.ChangeAddress(comm, status, progress, args.addressChange[0], args.addressChange[1]);
            return true;
        case kUploadMode: op.SetUploadMode(comm, status, progress); return true;
        case kCommTable:
            op.SetCommParameters(comm, status, state_.timing.terminalTimeout, state_.commTable,
                                 progress, state_.commTable.changePcParameters);
            return true;
        case kBuzzer: op.SetBeeperVolume(comm, status, progress, args.optionValue); return true;
        case kDeviceTable: op.SetDeviceTable(comm, status, progress, args.deviceTable); return true;
        case kKeypad: op.SetKeypad(comm, status, progress, args.keypadMode); return true;
        case kUpsOff: op.SetUpsOff(comm, status, progress); return true;
        case kPassword: op.SetPassword(comm, status, progress, args.textArgument); return true;
        case kSystemFont:
            op.RestoreSystemFont(comm, status, progress, args.optionValue);
            return true;
        case kExecAreaSize:
            op.SetExecAreaSize(comm, status, progress, args.textArgument);
            return true;
        case kLantaTable:
            op.SendLantaTable(comm, status, state_.lists, progress, args.lantaRecord);
            return true;
        default: return false;
    }
}

void CommandWorker::CallControl(int code) {
    TerminalOperations& op = operations_;
    link::CommSettings& comm = state_.comm;
    link::LinkStatus& status = state_.status;
    link::ProgressState& progress = state_.progress;
    const CommandArguments& args = arguments_;
    const bool commandLineMode = status.commandLineMode.load() != 0;

    switch (code) {
        case kColdStart: op.ColdStart(comm, status, progress); break;
        case kWarmStart: op.WarmStart(comm, status, progress); break;
        case kSendData: op.SendData(comm, status, progress, args.textArgument); break;
        case kAutoBoot:
            if (PickFromDirectory(code, args.flashRom)) {
                op.SetAutoBoot(comm, status, state_.lists, progress, chosen_.address,
                               chosen_.allAddresses, args.flashRom, args.runFileName);
            }
            break;
        case kRun:
            // From the command line the program is the run's third token and
            // every terminal of the list takes part.
            if (commandLineMode || PickFromDirectory(code, args.flashRom)) {
                op.RunProgram(comm, status, state_.lists, state_.commandLine, progress,
                              chosen_.address, chosen_.allAddresses, args.flashRom,
                              args.runFileName);
            }
            break;
        case kPoll: op.Poll(comm, status, state_.poll, progress); break;
        case kKermit: op.ExecuteKermit(comm, status, progress); break;
        default: break;
    }
}

}  // namespace zelo::core
