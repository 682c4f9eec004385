#pragma once

#include <string>
#include <string_view>

#include "core/view_records.hpp"
#include "link/comm_settings.hpp"
#include "link/link_status.hpp"
#include "link/progress_state.hpp"

namespace zelo::core {

// The connection object's operations as the command worker calls them: one
// call per command code, with the view's records passed by reference. The
// program binds it to CTerminalLink; the tests bind it to a scripted double.
//
// Common contract of the per-address operations: they visit every selected
// position of `settings.addresses` in order, report each terminal through
// ShowResult, keep `progress` current, set `status.idle` to 0 while their
// loop runs and back to 1 at its end, and end early when IsStopRequested is
// non-zero. None throws; failures are result lines.
//
// Threads: every call but RequestStop, IsStopRequested and ShowResult runs
// on the worker thread. The user interface thread calls RequestStop while an
// operation runs and ShowResult for the Stop line.
class TerminalOperations {
public:
    virtual ~TerminalOperations() = default;

    // --- The stop protocol and the result line -------------------------
    virtual void RequestStop(int stop) = 0;
    virtual int IsStopRequested() const = 0;
    // Sleeps 10 ms at a time until `status.idle` is non-zero.
    virtual void WaitUntilIdle(const link::LinkStatus& status) = 0;
    // One result line (the connection object's hook); code -1 is a line
    // that only informs.
    virtual void ShowResult(char address, std::string_view label, std::string_view detail,
                            int code) = 0;

    // --- Connection ------------------------------------------------------
    // Opens the line (with the speed search or by modem, as the settings
    // say); true when it is open. May change settings.baudIndex.
    virtual bool Connect(link::CommSettings& settings, link::LinkStatus& status) = 0;
    // Dials settings.dialNumber; true when the modem connected.
    virtual bool DialModem(link::CommSettings& settings, link::LinkStatus& status) = 0;
    virtual void Disconnect(int port, link::LinkStatus& status) = 0;
    // on: 1 power saving on, 0 off.
    virtual void SetPowerSaving(link::CommSettings& settings, link::LinkStatus& status,
                                link::ProgressState& progress, int on) = 0;
    // One terminal's switch; returns the library's result code.
    virtual int SwitchPowerSaving(int on, int libraryFlag, link::CommSettings& settings,
                                  link::LinkStatus& status, int addressIndex) = 0;

    // --- Single-terminal operations, looped over the addresses ----------
    virtual void ColdStart(link::CommSettings& settings, link::LinkStatus& status,
                           link::ProgressState& progress) = 0;
    virtual void QueryRamSize(link::CommSettings& settings, link::LinkStatus& status,
                              link::ProgressState& progress) = 0;
    virtual void QueryFlashSize(link::CommSettings& settings, link::LinkStatus& status,
                                link::ProgressState& progress) = 0;
    // flashRom: 0 RAM disk, 1 flash ROM. Leaves one listing per address
    // position in lists.directoryTexts.
    virtual void GetDirectory(link::CommSettings& settings, link::LinkStatus& status,
                              TransferLists& lists, link::ProgressState& progress,
                              int flashRom) = 0;
    virtual void WarmStart(link::CommSettings& settings, link::LinkStatus& status,
                           link::ProgressState& progress) = 0;
    // In command-line mode the PC clock is sent, whatever `request` holds.
    virtual void SyncTime(link::CommSettings& settings, link::LinkStatus& status,
                          const TimeSyncRequest& request, const CommandLineState& commandLine,
                          link::ProgressState& progress) = 0;
    virtual void SetBarcodeTable(link::CommSettings& settings, link::LinkStatus& status,
                                 link::ProgressState& progress, const std::string& table) = 0;
    virtual void ChangeAddress(link::CommSettings& settings, link::LinkStatus& status,
                               link::ProgressState& progress, char from, char to) = 0;
    virtual void GetFirmwareVersion(link::CommSettings& settings, link::LinkStatus& status,
                                    link::ProgressState& progress) = 0;
    virtual void GetTerminalId(link::CommSettings& settings, link::LinkStatus& status,
                               link::ProgressState& progress) = 0;
    virtual void CheckFileExists(link::CommSettings& settings, link::LinkStatus& status,
                                 link::ProgressState& progress, const std::string& fileName) = 0;
    virtual void SetUploadMode(link::CommSettings& settings, link::LinkStatus& status,
                               link::ProgressState& progress) = 0;
    virtual void CheckRunningProgram(link::CommSettings& settings, link::LinkStatus& status,
                                     link::ProgressState& progress) = 0;
    // changePcParameters repeats request.changePcParameters, in the order
    // the command table gives the arguments.
    virtual void SetCommParameters(link::CommSettings& settings, link::LinkStatus& status,
                                   int terminalTimeout, const CommTableRequest& request,
                                   link::ProgressState& progress, int changePcParameters) = 0;
    // level: 0 low, 5 medium, 9 high.
    virtual void SetBeeperVolume(link::CommSettings& settings, link::LinkStatus& status,
                                 link::ProgressState& progress, int level) = 0;
    virtual void SetDeviceTable(link::CommSettings& settings, link::LinkStatus& status,
                                link::ProgressState& progress, const std::string& table) = 0;
    // mode: '0' lock, '1' unlock, '2' partial lock, 'A' restore the key map.
    virtual void SetKeypad(link::CommSettings& settings, link::LinkStatus& status,
                           link::ProgressState& progress, int mode) = 0;
    virtual void SetUpsOff(link::CommSettings& settings, link::LinkStatus& status,
                           link::ProgressState& progress) = 0;
    virtual void SendData(link::CommSettings& settings, link::LinkStatus& status,
                          link::ProgressState& progress, const std::string& text) = 0;
    virtual void SetPassword(link::CommSettings& settings, link::LinkStatus& status,
                             link::ProgressState& progress, const std::string& password) = 0;
    // kind: '0' all fonts, '1' 16x8, '2' 32x16.
    virtual void RestoreSystemFont(link::CommSettings& settings, link::LinkStatus& status,
                                   link::ProgressState& progress, int kind) = 0;
    // sizeText: the size in kilobytes as the user typed it.
    virtual void SetExecAreaSize(link::CommSettings& settings, link::LinkStatus& status,
                                 link::ProgressState& progress, const std::string& sizeText) = 0;
    // One terminal (`address`) or, when allAddresses is non-zero, every
    // selected one. programName is the program chosen (empty: none).
    virtual void SetAutoBoot(link::CommSettings& settings, link::LinkStatus& status,
                             TransferLists& lists, link::ProgressState& progress, char address,
                             int allAddresses, int flashRom, const std::string& programName) = 0;
    virtual void RunProgram(link::CommSettings& settings, link::LinkStatus& status,
                            TransferLists& lists, const CommandLineState& commandLine,
                            link::ProgressState& progress, char address, int allAddresses,
                            int flashRom, const std::string& programName) = 0;
    // lantaRecord: the record built from the Lanta configuration file.
    virtual void SendLantaTable(link::CommSettings& settings, link::LinkStatus& status,
                                TransferLists& lists, link::ProgressState& progress,
                                const std::string& lantaRecord) = 0;
    virtual void ExecuteKermit(link::CommSettings& settings, link::LinkStatus& status,
                               link::ProgressState& progress) = 0;
    virtual void LineTest(link::CommSettings& settings, link::LinkStatus& status) = 0;

    // --- Polling ---------------------------------------------------------
    // The polling values, the polling window and the time-synchronisation
    // window with its mode all come from `poll`; the binding keeps the
    // polled-data file for the run.
    virtual void Poll(link::CommSettings& settings, link::LinkStatus& status, PollSettings& poll,
                      link::ProgressState& progress) = 0;
    // 0 when stopped, else 1.
    virtual int SyncTimeAll(link::CommSettings& settings, link::LinkStatus& status,
                            link::ProgressState& progress) = 0;

    // --- Multi-terminal transfers ---------------------------------------
    // ems: 1 names the terminal's files on its drive C.
    virtual void DownloadSelectedFiles(link::CommSettings& settings, link::LinkStatus& status,
                                       TransferLists& lists, link::ProgressState& progress,
                                       int ems) = 0;
    virtual void DownloadFileList(link::CommSettings& settings, link::LinkStatus& status,
                                  TransferLists& lists, const CommandLineState& commandLine,
                                  link::ProgressState& progress, int ems) = 0;
    // Source and target are tokens 2 and 3; token 4, when present, repeats.
    virtual void DownloadByCommandLine(link::CommSettings& settings, link::LinkStatus& status,
                                       TransferLists& lists, const CommandLineState& commandLine,
                                       link::ProgressState& progress) = 0;
    virtual void UploadSelectedFiles(link::CommSettings& settings, link::LinkStatus& status,
                                     TransferLists& lists, link::ProgressState& progress) = 0;
    virtual void UploadFileList(link::CommSettings& settings, link::LinkStatus& status,
                                TransferLists& lists, const CommandLineState& commandLine,
                                link::ProgressState& progress, int ems) = 0;
    virtual void UploadByCommandLine(link::CommSettings& settings, link::LinkStatus& status,
                                     TransferLists& lists, const CommandLineState& commandLine,
                                     link::ProgressState& progress) = 0;
    // In command-line mode the file is lists.deleteFileName; otherwise the
    // names in lists.pickedFiles.
    virtual void PurgeFiles(link::CommSettings& settings, link::LinkStatus& status,
                            TransferLists& lists, const CommandLineState& commandLine,
                            link::ProgressState& progress, char address, int allAddresses) = 0;
};

}  // namespace zelo::core
