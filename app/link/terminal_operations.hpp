#pragma once

#include <string>
#include <string_view>

#include "link/command_line_state.hpp"
#include "link/operation_context.hpp"
#include "link/operation_requests.hpp"
#include "link/poll_context.hpp"
#include "link/poll_settings.hpp"
#include "link/transfer_lists.hpp"

namespace zelo::link {

// The terminal operations as the command worker calls them: the one list of
// them. CTerminalLink carries them out over the line; the tests put a
// scripted double in its place.
//
// Common contract of the per-address operations: they visit every selected
// position of `context.settings.addresses` in order, report each terminal
// through ShowResult, keep `context.progress` current, set
// `context.status.idle` to 0 while their loop runs and back to 1 at its end,
// and end early (after WaitUntilIdle, with no line for the terminal in hand)
// once a stop is requested. None throws; failures are result lines.
//
// Threads: every call but RequestStop, IsStopRequested and ShowResult runs
// on the worker thread. The user interface thread calls RequestStop while an
// operation runs and ShowResult for the Stop line.
class TerminalOperations {
public:
    virtual ~TerminalOperations() = default;

    // --- The stop protocol and the result line -------------------------
    // Asks the running operation to end; ClearStop, once the command has
    // ended, lets the next one run.
    virtual void RequestStop() = 0;
    virtual void ClearStop() = 0;
    virtual bool IsStopRequested() const = 0;
    // Sleeps 10 ms at a time until `status.idle` is non-zero: the stop
    // protocol's way for an operation to let the Stop command finish first.
    virtual void WaitUntilIdle(const LinkStatus& status) = 0;
    // One result line: `address` is blank for lines about the whole line;
    // `code` is a library result code or kInformationOnly. Operations never
    // pass a password in `label` or `detail`.
    virtual void ShowResult(char address, std::string_view label, std::string_view detail,
                            int code) = 0;

    // --- Connection ------------------------------------------------------
    // Opens the line: by modem, or directly at the configured speed and,
    // with auto-baud on, at every other speed from the fastest down. True
    // when the line is open for commands (status.connected is then 1). May
    // change settings.baudIndex.
    virtual bool Connect(CommSettings& settings, LinkStatus& status) = 0;
    // Hangs up when the modem is in use, then closes the port.
    virtual void Disconnect(int port, LinkStatus& status) = 0;
    // Sends 1000 numbered packets with the raw character functions.
    virtual void LineTest(LinkStatus& status) = 0;

    // --- Commands of one library call per selected terminal --------------
    virtual void ColdStart(const OperationContext& context) = 0;
    virtual void WarmStart(const OperationContext& context) = 0;
    virtual void SetPowerSaving(const OperationContext& context, bool switchOn) = 0;
    virtual void SetBarcodeTable(const OperationContext& context, const std::string& table) = 0;
    virtual void SetUploadMode(const OperationContext& context) = 0;
    // level 0 low, 5 medium, 9 high.
    virtual void SetBeeperVolume(const OperationContext& context, int level) = 0;
    virtual void SetDeviceTable(const OperationContext& context, const std::string& table) = 0;
    // mode 0 lock, 1 unlock, 2 partial lock (as a number or a digit
    // character), 'A' restores the system keymap.
    virtual void SetKeypad(const OperationContext& context, int mode) = 0;
    virtual void SetUpsOff(const OperationContext& context) = 0;
    virtual void SendData(const OperationContext& context, const std::string& text) = 0;
    // The password goes to the terminals only; no line shows it.
    virtual void SetPassword(const OperationContext& context, const std::string& password) = 0;
    // kind 0 all, 1 the 16x8 font, 2 the 32x16 font (number or digit character).
    virtual void RestoreSystemFont(const OperationContext& context, int kind) = 0;
    // sizeText: the size in kilobytes as the user typed it.
    virtual void SetExecAreaSize(const OperationContext& context, const std::string& sizeText) = 0;
    // table: the record built from the Lanta configuration file.
    virtual void SendLantaTable(const OperationContext& context, const std::string& table) = 0;
    virtual void ExecuteKermit(const OperationContext& context) = 0;

    // --- Queries: one line per terminal that has something to report -----
    virtual void QueryRamSize(const OperationContext& context) = 0;
    virtual void QueryFlashSize(const OperationContext& context) = 0;
    // Each listing goes to the slot of its address position in
    // directoryTexts.
    virtual void GetDirectory(const OperationContext& context, Disk disk,
                              DirectoryTexts& directoryTexts) = 0;
    virtual void GetFirmwareVersion(const OperationContext& context) = 0;
    // Also records each answering terminal's model in progress.typeFound.
    virtual void GetTerminalId(const OperationContext& context) = 0;
    virtual void CheckFileExists(const OperationContext& context, const std::string& fileName) = 0;
    virtual void CheckRunningProgram(const OperationContext& context) = 0;

    // --- Settings that write back, the clock and the programs ------------
    // Gives the terminal at oldAddress the address newAddress, and on
    // success the same in settings.addresses (in memory only).
    virtual void ChangeAddress(const OperationContext& context, char oldAddress,
                               char newAddress) = 0;
    // Sends the new line settings to every selected terminal; with
    // request.changePcParameters the line is then reopened with them.
    virtual void SetCommParameters(const OperationContext& context, const CommTableRequest& request,
                                   int terminalTimeout) = 0;
    // Sets the terminals' clocks: the PC's, or the set time advanced by the
    // seconds since the command began (written back into request).
    virtual void SyncTime(const OperationContext& context, TimeSyncRequest& request) = 0;
    // programName as chosen from a directory listing of `disk`.
    // Without allAddresses only the terminal at chosenAddress is visited.
    virtual void SetAutoBoot(const OperationContext& context, const std::string& programName,
                             char chosenAddress, bool allAddresses, Disk disk) = 0;
    virtual void RunProgram(const OperationContext& context, const std::string& programName,
                            char chosenAddress, bool allAddresses, Disk disk) = 0;

    // --- Polling ---------------------------------------------------------
    // Polls the selected terminals for their records until stopped or until
    // the period rule ends the run. `pollContext` (the polled-data file and
    // the last-record times) outlives the run, so that a later run can close
    // what a stopped one left open.
    virtual void Poll(const OperationContext& context, PollSettings& settings,
                      PollContext& pollContext) = 0;

    // --- Multi-terminal transfers ---------------------------------------
    // Each visits every selected terminal in turn. `onEmsDrive` puts the
    // terminal names on the Delmar's EMS drive, drive C. The downloads send a
    // file to several terminals at once when TransferLists::groupDownloads
    // allows it and the line can; each terminal still gets its own result line.
    virtual void DownloadSelectedFiles(const OperationContext& context, const TransferLists& lists,
                                       bool onEmsDrive) = 0;
    virtual void DownloadFileList(const OperationContext& context, const TransferLists& lists,
                                  bool onEmsDrive) = 0;
    // Source and target are tokens 2 and 3; token 4, when present, repeats.
    // Of `lists` only the group-download setting counts.
    virtual void DownloadByCommandLine(const OperationContext& context, const TransferLists& lists,
                                       const CommandLineState& commandLine) = 0;
    virtual void UploadSelectedFiles(const OperationContext& context,
                                     const TransferLists& lists) = 0;
    virtual void UploadFileList(const OperationContext& context, const TransferLists& lists,
                                bool onEmsDrive) = 0;
    virtual void UploadByCommandLine(const OperationContext& context,
                                     const CommandLineState& commandLine) = 0;
    // Deletes lists.deleteFileName (a command line's) or the names in
    // lists.pickedFiles on `chosenAddress`, or on every selected address
    // with `allAddresses`.
    virtual void PurgeFiles(const OperationContext& context, const TransferLists& lists,
                            char chosenAddress, bool allAddresses) = 0;
};

}  // namespace zelo::link
