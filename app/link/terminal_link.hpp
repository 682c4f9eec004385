#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

#include "link/comm_settings.hpp"
#include "link/command_line_state.hpp"
#include "link/link_environment.hpp"
#include "link/link_status.hpp"
#include "link/operation_requests.hpp"
#include "link/poll_context.hpp"
#include "link/poll_settings.hpp"
#include "link/progress_state.hpp"
#include "link/transfer_lists.hpp"

namespace zelo::link {

// The connection object: the one place through which the program talks to
// terminals. Its operations run on the worker thread and report through the
// hooks below, which in this base class do nothing; CViewTerminalLink
// forwards them to the view.
//
// Threads: the user interface thread calls RequestStop while an operation
// runs; every operation polls IsStopRequested after each library call.
class CTerminalLink {
public:
    CTerminalLink() = default;
    CTerminalLink(const CTerminalLink&) = delete;
    CTerminalLink& operator=(const CTerminalLink&) = delete;
    virtual ~CTerminalLink();

    // An operation changed a setting that belongs in the configuration file
    // (a speed found by the speed search, new communication parameters).
    virtual void OnSettingsChanged() {}
    // The progress state changed; erase is 1 at the start of a file transfer
    // series, else 0.
    virtual void RefreshProgress(int erase) { (void)erase; }
    // One polled record arrived from the terminal at `address`.
    virtual void ShowPollData(char address, std::string_view record) {
        (void)address;
        (void)record;
    }
    // One result line: `address` is blank for lines about the whole line;
    // `code` is a library result code or kInformationOnly. Operations never
    // pass a password in `label` or `detail`.
    virtual void ShowResult(char address, std::string_view label, std::string_view detail,
                            int code) {
        (void)address;
        (void)label;
        (void)detail;
        (void)code;
    }

    void RequestStop(int stop) { stopFlag_.store(stop); }
    int IsStopRequested() const { return stopFlag_.load(); }
    // Sleeps 10 ms at a time until `status.idle` is non-zero: the stop
    // protocol's way for an operation to let the Stop command finish first.
    static void WaitUntilIdle(const LinkStatus& status);

    // ===== Connection and single-terminal operations =====================
    // Each runs on the worker thread, reports through the hooks above and
    // returns early (after WaitUntilIdle, with no line for the terminal in
    // hand) once a stop is requested.

    // A modal message box (a modem port that will not open, a wrong ROM
    // flag). The base class shows nothing.
    virtual void ShowMessageBox(std::string_view text) { (void)text; }
    // Why something failed, in plain English for the operator: the device
    // and the system's reason, the terminal that did not answer, the file
    // that could not be opened. It goes beside the result lines, never into
    // them. The base class shows nothing.
    virtual void ExplainFailure(std::string_view text) { (void)text; }

    // Opens the line: by modem, or directly at the configured speed and,
    // with auto-baud on, at every other speed from the fastest down. True
    // when the line is open for commands (status.connected is then 1).
    bool Connect(CommSettings& settings, LinkStatus& status);
    // True when every terminal of settings.addresses answers the probe at
    // this speed. Leaves the port closed.
    bool TryBaudRate(const CommSettings& settings, LinkStatus& status, int baudIndex);
    // Opens the port, initialises the modem and dials settings.dialNumber.
    bool DialModem(const CommSettings& settings, LinkStatus& status);
    // Hangs up when the modem is in use, then closes the port.
    void Disconnect(int port, LinkStatus& status);
    // After a failed HM_OpenCommPort: hands the library's reason to
    // ExplainFailure, once per Connect for the same text.
    void ExplainOpenFailure(int port);
    // After a failed command: when the library says the line was lost (the
    // device failed or went away), hands that to ExplainFailure, once per
    // Connect, so the operator reads why beside the result lines.
    void ExplainLineLoss();

    // Switches one terminal's power saving for a transfer; returns the
    // library result. libraryFlag is handed to HM_set_power_saving_status.
    int SwitchPowerSaving(int switchOn, int libraryFlag, const CommSettings& settings,
                          LinkStatus& status, int addressIndex);
    // The Power saving on (1) and off (0) commands over the selected terminals.
    void SetPowerSaving(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                        int switchOn);

    // Commands of one library call per selected terminal.
    void ColdStart(const CommSettings& settings, LinkStatus& status, ProgressState& progress);
    void WarmStart(const CommSettings& settings, LinkStatus& status, ProgressState& progress);
    void SetBarcodeTable(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                         const std::string& table);
    void SetUploadMode(const CommSettings& settings, LinkStatus& status, ProgressState& progress);
    // level 0 low, 5 medium, 9 high.
    void SetBeeperVolume(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                         int level);
    void SetDeviceTable(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                        const std::string& table);
    // mode 0 lock, 1 unlock, 2 partial lock (as a number or a digit
    // character), 'A' restores the system keymap.
    void SetKeypad(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                   int mode);
    void SetUpsOff(const CommSettings& settings, LinkStatus& status, ProgressState& progress);
    void SendData(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                  const std::string& text);
    // The password goes to the terminals only; no line shows it.
    void SetPassword(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                     const std::string& password);
    // kind 0 all, 1 the 16x8 font, 2 the 32x16 font (number or digit character).
    void RestoreSystemFont(const CommSettings& settings, LinkStatus& status,
                           ProgressState& progress, int kind);
    // sizeText: the size in kilobytes as the user typed it.
    void SetExecAreaSize(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                         const std::string& sizeText);
    void SendLantaTable(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                        const std::string& table);
    void ExecuteKermit(const CommSettings& settings, LinkStatus& status, ProgressState& progress);

    // Queries: one line per terminal that has something to report.
    void QueryRamSize(const CommSettings& settings, LinkStatus& status, ProgressState& progress);
    void QueryFlashSize(const CommSettings& settings, LinkStatus& status, ProgressState& progress);
    // romFlag 0 RAM disk, 1 flash ROM. Each listing goes to the slot of its
    // address position in directoryTexts.
    void GetDirectory(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                      int romFlag, DirectoryTexts& directoryTexts);
    void GetFirmwareVersion(const CommSettings& settings, LinkStatus& status,
                            ProgressState& progress);
    // Also records each answering terminal's model in progress.typeFound.
    void GetTerminalId(const CommSettings& settings, LinkStatus& status, ProgressState& progress);
    void CheckFileExists(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                         const std::string& fileName);
    void CheckRunningProgram(const CommSettings& settings, LinkStatus& status,
                             ProgressState& progress);

    // Gives the terminal at oldAddress the address newAddress, and on
    // success the same in settings.addresses (in memory only).
    void ChangeAddress(CommSettings& settings, LinkStatus& status, ProgressState& progress,
                       char oldAddress, char newAddress);
    // Sends the new line settings to every selected terminal; with
    // request.changePcParameters 1 the line is then reopened with them.
    void SetCommParameters(CommSettings& settings, LinkStatus& status, ProgressState& progress,
                           const CommTableRequest& request, int terminalTimeout);
    // Sets the terminals' clocks: the PC's, or the set time advanced by the
    // seconds since the command began (written back into request).
    void SyncTime(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                  TimeSyncRequest& request);
    // programName as chosen from a directory listing; romFlag tells which.
    // With allAddresses 0 only the terminal at chosenAddress is visited.
    void SetAutoBoot(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                     const std::string& programName, char chosenAddress, int allAddresses,
                     int romFlag);
    void RunProgram(const CommSettings& settings, LinkStatus& status, ProgressState& progress,
                    const std::string& programName, char chosenAddress, int allAddresses,
                    int romFlag);
    // Sends 1000 numbered packets with the raw character functions.
    void LineTest(LinkStatus& status);
    // ===== End of connection and single-terminal operations ===============

    // ---- Polling engine and multi-terminal file transfers ----------------
    // These run on the worker thread and take the view's records by
    // reference; the clocks, pauses, folders and the polled-data file come
    // from the environment (the system's unless a test sets another).

    void SetEnvironment(LinkEnvironment& environment) { environment_ = &environment; }
    LinkEnvironment& Environment() const { return *environment_; }

    // Polls the selected terminals for their records until stopped or until
    // the period rule ends the run; records go to the polled-data file and
    // then to ShowPollData.
    void Poll(const CommSettings& comm, LinkStatus& status, PollSettings& settings,
              PollContext& context, ProgressState& progress);
    // Opens the polled-data file by the open method; sets pollFileOpen.
    void OpenPollFile(const PollSettings& settings, PollContext& context, LinkStatus& status);
    // Sets every selected terminal's clock to the PC's; 0 when stopped, else 1.
    int SyncTimeAll(const CommSettings& comm, LinkStatus& status, ProgressState& progress);

    // Transfers to and from every selected terminal in turn. `ems` 1 puts
    // the terminal names on the Delmar's drive C.
    void DownloadSelectedFiles(const CommSettings& comm, LinkStatus& status,
                               ProgressState& progress, const TransferLists& lists, int ems);
    void DownloadFileList(const CommSettings& comm, LinkStatus& status, ProgressState& progress,
                          const TransferLists& lists, int ems);
    void DownloadByCommandLine(const CommSettings& comm, LinkStatus& status,
                               ProgressState& progress, const CommandLineState& commandLine);
    void UploadSelectedFiles(const CommSettings& comm, LinkStatus& status, ProgressState& progress,
                             const TransferLists& lists);
    void UploadFileList(const CommSettings& comm, LinkStatus& status, ProgressState& progress,
                        const TransferLists& lists, int ems);
    void UploadByCommandLine(const CommSettings& comm, LinkStatus& status, ProgressState& progress,
                             const CommandLineState& commandLine);
    // Deletes the chosen files on `chosenAddress`, or on every selected
    // address when `allAddresses` is 1.
    void PurgeFiles(const CommSettings& comm, LinkStatus& status, ProgressState& progress,
                    const TransferLists& lists, char chosenAddress, int allAddresses);

private:
    std::atomic<int> stopFlag_{0};
    void ExplainOnce(const std::string& text);
    std::string lastExplained_;  // worker thread only: the reason shown last in this Connect
    LinkEnvironment* environment_ = &SystemLinkEnvironment();
};

}  // namespace zelo::link
