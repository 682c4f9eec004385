// The worker's step c: the one operation of each command code.
#include <zelodll.h>

#include "core/command_worker.hpp"

namespace zelo::core {
namespace {

// A command-line download waits this long (ms) before it starts.
constexpr int kCommandLineDownloadPause = 20;

}  // namespace

void CommandWorker::CallOperation(int code, int ems) {
    TerminalOperations& op = operations_;
    link::CommSettings& comm = state_.comm;
    link::LinkStatus& status = state_.status;
    link::ProgressState& progress = state_.progress;
    TransferLists& lists = state_.lists;
    const CommandLineState& commandLine = state_.commandLine;
    const CommandArguments& args = arguments_;
    const bool commandLineMode = status.commandLineMode.load() != 0;

    switch (code) {
        case kColdStart: op.ColdStart(comm, status, progress); break;
        case kDownloadChosenFiles:
            op.DownloadSelectedFiles(comm, status, lists, progress, ems);
            break;
        case kDownloadListedFiles:
            if (commandLineMode) {
                HM_time_delay(kCommandLineDownloadPause);
                op.DownloadByCommandLine(comm, status, lists, commandLine, progress);
            } else {
                op.DownloadFileList(comm, status, lists, commandLine, progress, ems);
            }
            break;
        case kRamSize: op.QueryRamSize(comm, status, progress); break;
        case kFlashSize: op.QueryFlashSize(comm, status, progress); break;
        case kPowerSavingOn: op.SetPowerSaving(comm, status, progress, 1); break;
        case kPowerSavingOff: op.SetPowerSaving(comm, status, progress, 0); break;
        case kDirectory: op.GetDirectory(comm, status, lists, progress, args.flashRom); break;
        case kWarmStart: op.WarmStart(comm, status, progress); break;
        case kUploadChosenFiles:
            if (PickFromDirectory(code, 0)) op.UploadSelectedFiles(comm, status, lists, progress);
            break;
        case kUploadListedFiles:
            if (commandLineMode) {
                op.UploadByCommandLine(comm, status, lists, commandLine, progress);
            } else {
                op.UploadFileList(comm, status, lists, commandLine, progress, ems);
            }
            break;
        case kTimeAndDate: op.SyncTime(comm, status, state_.timeSync, commandLine, progress); break;
        case kBarcodeTable: op.SetBarcodeTable(comm, status, progress, args.barcodeTable); break;
        case kAddressChange:
            op.ChangeAddress(comm, status, progress, args.addressChange[0], args.addressChange[1]);
            break;
        case kFirmwareVersion: op.GetFirmwareVersion(comm, status, progress); break;
        case kTerminalId: op.GetTerminalId(comm, status, progress); break;
        case kFileExists: op.CheckFileExists(comm, status, progress, args.textArgument); break;
        case kUploadMode: op.SetUploadMode(comm, status, progress); break;
        case kRunningProgram: op.CheckRunningProgram(comm, status, progress); break;
        case kCommTable:
            op.SetCommParameters(comm, status, state_.timing.terminalTimeout, state_.commTable,
                                 progress, state_.commTable.changePcParameters);
            break;
        case kBuzzer: op.SetBeeperVolume(comm, status, progress, args.optionValue); break;
        case kDeviceTable: op.SetDeviceTable(comm, status, progress, args.deviceTable); break;
        case kKeypad: op.SetKeypad(comm, status, progress, args.keypadMode); break;
        case kUpsOff: op.SetUpsOff(comm, status, progress); break;
        case kSendData: op.SendData(comm, status, progress, args.textArgument); break;
        case kPassword: op.SetPassword(comm, status, progress, args.textArgument); break;
        case kSystemFont: op.RestoreSystemFont(comm, status, progress, args.optionValue); break;
        case kExecAreaSize: op.SetExecAreaSize(comm, status, progress, args.textArgument); break;
        case kAutoBoot:
            if (PickFromDirectory(code, args.flashRom)) {
                op.SetAutoBoot(comm, status, lists, progress, chosen_.address, chosen_.allAddresses,
                               args.flashRom, args.runFileName);
            }
            break;
        case kPoll: op.Poll(comm, status, state_.poll, progress); break;
        case kRun:
            // From the command line the program is the run's third token and
            // every terminal of the list takes part.
            if (commandLineMode || PickFromDirectory(code, args.flashRom)) {
                op.RunProgram(comm, status, lists, commandLine, progress, chosen_.address,
                              chosen_.allAddresses, args.flashRom, args.runFileName);
            }
            break;
        case kErase:
            if (commandLineMode || PickFromDirectory(code, 0)) {
                op.PurgeFiles(comm, status, lists, commandLine, progress, chosen_.address,
                              chosen_.allAddresses);
            }
            break;
        case kLantaTable: op.SendLantaTable(comm, status, lists, progress, args.lantaRecord); break;
        case kKermit: op.ExecuteKermit(comm, status, progress); break;
        default: break;
    }
}

}  // namespace zelo::core
