#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

#include "link/comm_settings.hpp"
#include "link/command_line_state.hpp"
#include "link/link_status.hpp"
#include "link/terminal_operations.hpp"
#include "platform/platform.hpp"

namespace zelo::link {

// The connection object: the one place through which the program talks to
// terminals. It carries out the terminal operations (their contracts are in
// terminal_operations.hpp) and reports through the hooks below, which in
// this base class do nothing; ModelTerminalLink forwards them to the view.
//
// Threads: the user interface thread calls RequestStop while an operation
// runs; every operation polls IsStopRequested after each library call.
class CTerminalLink : public TerminalOperations {
public:
    CTerminalLink() = default;
    CTerminalLink(const CTerminalLink&) = delete;
    CTerminalLink& operator=(const CTerminalLink&) = delete;
    ~CTerminalLink() override;

    // An operation changed a setting that belongs in the configuration file
    // (a speed found by the speed search, new communication parameters).
    virtual void OnSettingsChanged() {}
    // The progress state changed; `erase` at the start of a file transfer
    // series.
    virtual void RefreshProgress(bool erase) { (void)erase; }
    // One polled record arrived from the terminal at `address`.
    virtual void ShowPollData(char address, std::string_view record) {
        (void)address;
        (void)record;
    }
    void ShowResult(char address, std::string_view label, std::string_view detail,
                    int code) override {
        (void)address;
        (void)label;
        (void)detail;
        (void)code;
    }
    // A modal message box (a modem port that will not open, a disk that is
    // neither). The base class shows nothing.
    virtual void ShowMessageBox(std::string_view text) { (void)text; }
    // Why something failed, in plain English for the operator: the device
    // and the system's reason, the terminal that did not answer, the file
    // that could not be opened. It goes beside the result lines, never into
    // them. The base class shows nothing.
    virtual void ExplainFailure(std::string_view text) { (void)text; }

    void RequestStop() override { stopRequested_.store(true); }
    void ClearStop() override { stopRequested_.store(false); }
    bool IsStopRequested() const override { return stopRequested_.load(); }
    void WaitUntilIdle(const LinkStatus& status) override { WaitForIdle(status); }

    // ===== Connection =====================================================
    bool Connect(CommSettings& settings, LinkStatus& status) override;
    // True when every terminal of settings.addresses answers the probe at
    // this speed. Leaves the port closed.
    bool TryBaudRate(const CommSettings& settings, LinkStatus& status, int baudIndex);
    // Opens the port, initialises the modem and dials settings.dialNumber.
    bool DialModem(const CommSettings& settings, LinkStatus& status);
    void Disconnect(int port, LinkStatus& status) override;
    // After a failed HM_OpenCommPort: hands the library's reason to
    // ExplainFailure, once per Connect for the same text.
    void ExplainOpenFailure(int port);
    // After a failed command: when the library says the line was lost (the
    // device failed or went away), hands that to ExplainFailure, once per
    // Connect, so the operator reads why beside the result lines.
    void ExplainLineLoss();
    void LineTest(LinkStatus& status) override;

    // Switches one terminal's power saving for a transfer; returns the
    // library result. libraryFlag is handed to HM_set_power_saving_status.
    int SwitchPowerSaving(bool switchOn, int libraryFlag, const CommSettings& settings,
                          LinkStatus& status, int addressIndex);

    // ===== The terminal operations ========================================
    void ColdStart(const OperationContext& context) override;
    void WarmStart(const OperationContext& context) override;
    void SetPowerSaving(const OperationContext& context, bool switchOn) override;
    void SetBarcodeTable(const OperationContext& context, const std::string& table) override;
    void SetUploadMode(const OperationContext& context) override;
    void SetBeeperVolume(const OperationContext& context, int level) override;
    void SetDeviceTable(const OperationContext& context, const std::string& table) override;
    void SetKeypad(const OperationContext& context, int mode) override;
    void SetUpsOff(const OperationContext& context) override;
    void SendData(const OperationContext& context, const std::string& text) override;
    void SetPassword(const OperationContext& context, const std::string& password) override;
    void RestoreSystemFont(const OperationContext& context, int kind) override;
    void SetExecAreaSize(const OperationContext& context, const std::string& sizeText) override;
    void SendLantaTable(const OperationContext& context, const std::string& table) override;
    void ExecuteKermit(const OperationContext& context) override;

    void QueryRamSize(const OperationContext& context) override;
    void QueryFlashSize(const OperationContext& context) override;
    void GetDirectory(const OperationContext& context, Disk disk,
                      DirectoryTexts& directoryTexts) override;
    void GetFirmwareVersion(const OperationContext& context) override;
    void GetTerminalId(const OperationContext& context) override;
    void CheckFileExists(const OperationContext& context, const std::string& fileName) override;
    void CheckRunningProgram(const OperationContext& context) override;

    void ChangeAddress(const OperationContext& context, char oldAddress, char newAddress) override;
    void SetCommParameters(const OperationContext& context, const CommTableRequest& request,
                           int terminalTimeout) override;
    void SyncTime(const OperationContext& context, TimeSyncRequest& request) override;
    void SetAutoBoot(const OperationContext& context, const std::string& programName,
                     char chosenAddress, bool allAddresses, Disk disk) override;
    void RunProgram(const OperationContext& context, const std::string& programName,
                    char chosenAddress, bool allAddresses, Disk disk) override;

    // ---- Polling engine and multi-terminal file transfers ----------------
    // The clocks, pauses, folders and the polled-data file come from the
    // environment (the system's unless a test sets another).
    void SetEnvironment(platform::Platform& environment) { environment_ = &environment; }
    platform::Platform& Environment() const { return *environment_; }

    // Records go to the polled-data file and then to ShowPollData.
    void Poll(const OperationContext& context, PollSettings& settings,
              PollContext& pollContext) override;
    // Opens the polled-data file by the open method; sets pollFileOpen.
    void OpenPollFile(const PollSettings& settings, PollContext& context, LinkStatus& status);
    // Sets every selected terminal's clock to the PC's; false when stopped
    // (after WaitUntilIdle).
    bool SyncTimeAll(const OperationContext& context);

    void DownloadSelectedFiles(const OperationContext& context, const TransferLists& lists,
                               bool onEmsDrive) override;
    void DownloadFileList(const OperationContext& context, const TransferLists& lists,
                          bool onEmsDrive) override;
    void DownloadByCommandLine(const OperationContext& context, const TransferLists& lists,
                               const CommandLineState& commandLine) override;
    void UploadSelectedFiles(const OperationContext& context, const TransferLists& lists) override;
    void UploadFileList(const OperationContext& context, const TransferLists& lists,
                        bool onEmsDrive) override;
    void UploadByCommandLine(const OperationContext& context,
                             const CommandLineState& commandLine) override;
    void PurgeFiles(const OperationContext& context, const TransferLists& lists, char chosenAddress,
                    bool allAddresses) override;

private:
    std::atomic<bool> stopRequested_{false};
    void ExplainOnce(const std::string& text);
    std::string lastExplained_;  // worker thread only: the reason shown last in this Connect
    platform::Platform* environment_ = &platform::System();
};

}  // namespace zelo::link
