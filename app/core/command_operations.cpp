// The one dispatcher: each command code reaches its one terminal operation
// here, whether a menu, the command line or a script line asked for it. The
// steps go by the kind of command: transfers, queries, settings, and the
// commands that control the terminal's programs and the line.
#include <zelodll.h>

#include "core/command_worker.hpp"

namespace zelo::core {
namespace {

// A command-line download waits this long (ms) before it starts.
constexpr int kCommandLineDownloadPause = 20;

}  // namespace

void CommandWorker::CallOperation(int code, bool onEmsDrive) {
    const bool commandLineMode = state_.status.commandLineMode.load() != 0;
    if (CallTransfer(code, onEmsDrive, commandLineMode)) return;
    if (CallQuery(code)) return;
    if (CallSetting(code, commandLineMode)) return;
    CallControl(code, commandLineMode);
}

bool CommandWorker::CallTransfer(int code, bool onEmsDrive, bool commandLineMode) {
    TransferLists& lists = state_.lists;
    switch (code) {
        case kDownloadChosenFiles:
            operations_.DownloadSelectedFiles(context_, lists, onEmsDrive);
            return true;
        case kDownloadListedFiles:
            if (commandLineMode) {
                HM_time_delay(kCommandLineDownloadPause);
                operations_.DownloadByCommandLine(context_, lists, state_.commandLine);
            } else {
                operations_.DownloadFileList(context_, lists, onEmsDrive);
            }
            return true;
        case kUploadChosenFiles:
            if (PickFromDirectory(code, link::Disk::kRam)) {
                operations_.UploadSelectedFiles(context_, lists);
            }
            return true;
        case kUploadListedFiles:
            if (commandLineMode) {
                operations_.UploadByCommandLine(context_, state_.commandLine);
            } else {
                operations_.UploadFileList(context_, lists, onEmsDrive);
            }
            return true;
        case kErase:
            // A command line or a script line names its file and means every
            // terminal of its list.
            if (commandLineMode || PickFromDirectory(code, link::Disk::kRam)) {
                operations_.PurgeFiles(context_, lists, chosen_.address, chosen_.allAddresses);
            }
            return true;
        default: return false;
    }
}

bool CommandWorker::CallQuery(int code) {
    switch (code) {
        case kRamSize: operations_.QueryRamSize(context_); return true;
        case kFlashSize: operations_.QueryFlashSize(context_); return true;
        case kDirectory:
            operations_.GetDirectory(context_, arguments_.disk, state_.lists.directoryTexts);
            return true;
        case kFirmwareVersion: operations_.GetFirmwareVersion(context_); return true;
        case kTerminalId: operations_.GetTerminalId(context_); return true;
        case kFileExists:
            operations_.CheckFileExists(context_, arguments_.textArgument);
            return true;
        case kRunningProgram: operations_.CheckRunningProgram(context_); return true;
        default: return false;
    }
}

bool CommandWorker::CallSetting(int code, bool commandLineMode) {
    const CommandArguments& args = arguments_;
    switch (code) {
        case kPowerSavingOn: operations_.SetPowerSaving(context_, true); return true;
        case kPowerSavingOff: operations_.SetPowerSaving(context_, false); return true;
        case kTimeAndDate: {
            // A command-line run sends the PC's clock: a set time belongs to
            // the date and time dialog of an interactive run. The request is
            // a copy, so the set time the dialog keeps is not advanced.
            TimeSyncRequest sent = state_.timeSync;
            if (commandLineMode) sent.useSetTime = false;
            operations_.SyncTime(context_, sent);
            return true;
        }
        case kBarcodeTable: operations_.SetBarcodeTable(context_, args.barcodeTable); return true;
        case kAddressChange:
            operations_.ChangeAddress(context_, args.addressChange[0], args.addressChange[1]);
            return true;
        case kUploadMode: operations_.SetUploadMode(context_); return true;
        case kCommTable:
            operations_.SetCommParameters(context_, state_.commTable,
                                          state_.timing.terminalTimeout);
            return true;
        case kBuzzer: operations_.SetBeeperVolume(context_, args.optionValue); return true;
        case kDeviceTable: operations_.SetDeviceTable(context_, args.deviceTable); return true;
        case kKeypad: operations_.SetKeypad(context_, args.keypadMode); return true;
        case kUpsOff: operations_.SetUpsOff(context_); return true;
        case kPassword: operations_.SetPassword(context_, args.textArgument); return true;
        case kSystemFont: operations_.RestoreSystemFont(context_, args.optionValue); return true;
        case kExecAreaSize: operations_.SetExecAreaSize(context_, args.textArgument); return true;
        case kLantaTable: operations_.SendLantaTable(context_, args.lantaRecord); return true;
        default: return false;
    }
}

void CommandWorker::CallControl(int code, bool commandLineMode) {
    const CommandArguments& args = arguments_;
    switch (code) {
        case kColdStart: operations_.ColdStart(context_); break;
        case kWarmStart: operations_.WarmStart(context_); break;
        case kSendData: operations_.SendData(context_, args.textArgument); break;
        case kAutoBoot:
            if (PickFromDirectory(code, args.disk)) {
                operations_.SetAutoBoot(context_, args.runFileName, chosen_.address,
                                        chosen_.allAddresses, args.disk);
            }
            break;
        case kRun:
            // From the command line the program is the run's third token and
            // every terminal of the list takes part.
            if (commandLineMode || PickFromDirectory(code, args.disk)) {
                operations_.RunProgram(context_, args.runFileName, chosen_.address,
                                       chosen_.allAddresses, args.disk);
            }
            break;
        case kPoll: operations_.Poll(context_, state_.poll, state_.pollContext); break;
        case kKermit: operations_.ExecuteKermit(context_); break;
        default: break;
    }
}

}  // namespace zelo::core
