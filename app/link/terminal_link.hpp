#pragma once

#include <atomic>
#include <string_view>

#include "link/comm_settings.hpp"
#include "link/command_line_state.hpp"
#include "link/link_environment.hpp"
#include "link/link_status.hpp"
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

    // ---- Polling engine and multi-terminal file transfers ----------------
    // These run on the worker thread and take the view's records by
    // reference; the clocks, pauses, folders and the polled-data file come
    // from the environment (the system's unless a test sets another).

    void SetEnvironment(LinkEnvironment& environment) { environment_ = &environment; }
    LinkEnvironment& Environment() const { return *environment_; }
    // A modal message box (a file or folder that cannot be made, nothing
    // chosen). The base class shows nothing.
    virtual void ShowMessageBox(std::string_view text) { (void)text; }

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

    // Power saving around transfers and polling: switches one address and
    // returns the result (no line when stopped); SetPowerSaving switches
    // every selected address with a line each.
    int SwitchPowerSaving(int switchOn, int libraryFlag, const CommSettings& comm,
                          LinkStatus& status, int addressIndex);
    void SetPowerSaving(const CommSettings& comm, LinkStatus& status, ProgressState& progress,
                        int switchOn);

private:
    std::atomic<int> stopFlag_{0};
    LinkEnvironment* environment_ = &SystemLinkEnvironment();
};

}  // namespace zelo::link
