#pragma once

#include <zelodll.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/terminal_link.hpp"

namespace zelo::link {

// How a group download of one file ended for each address position: the
// library's result, ZELO_NOT_GATHERED for a position it never reached.
struct GroupOutcome {
    std::array<int, kAddressSlots> results{};
    bool SentWhole(std::size_t k) const { return results[k] == 0; }
};

// What every transfer operation does around the files of one address: mark
// it, switch its power saving off and back on when configured, and leave
// the Delmar time to settle. One object per operation run.
class TransferRun {
public:
    TransferRun(CTerminalLink& link, const OperationContext& context)
        : link_(link),
          comm_(context.settings),
          status_(context.status),
          progress_(context.progress) {}

    std::size_t AddressCount() const;
    bool IsSelected(std::size_t k) const { return progress_.addressSelected[k] != 0; }
    char Address(std::size_t k) const { return comm_.addresses[k]; }

    // Marks address k as the one worked on and, for downloads or uploads,
    // as transferring; switches power saving off when configured. False
    // when the address takes no transfers (not selected, or power saving
    // would not switch off).
    bool BeginAddress(std::size_t k, bool download);
    // Power saving back on with `libraryFlag`, and the Delmar's pause.
    void EndAddress(std::size_t k, int libraryFlag);

    // Downloads one PC file to the terminal name and writes its line with
    // `detail`. Nothing when stopped (no line then).
    std::optional<int> DownloadFile(std::size_t k, const std::string& pcPath,
                                    const std::string& terminalName, std::string_view detail);

    // Whether a download to the selected addresses may go to them at once:
    // the setting allows it, more than one address is selected, and no
    // power saving is switched per address (each terminal then wakes only
    // for its own turn).
    bool GroupUsable(int groupDownloads) const;
    // Sends one PC file to every selected address at once. Nothing when
    // stopped (no lines then); otherwise no line is written: each address
    // is then finished by FinishAfterGroup.
    std::optional<GroupOutcome> DownloadToGroup(const std::string& pcPath,
                                                const std::string& terminalName);
    // Address k's part after the group: its line when the group delivered
    // the file whole; else the one-terminal download, resumed from what the
    // terminal holds when it failed in the group, or from the start.
    std::optional<int> FinishAfterGroup(std::size_t k, const GroupOutcome& outcome,
                                        const std::string& pcPath, const std::string& terminalName,
                                        std::string_view detail);
    // Uploads one terminal file to the PC path and writes its line with
    // `detail`. Nothing when stopped. A local file that does not hold every
    // byte received is a failure, whatever the library said.
    std::optional<int> UploadFile(std::size_t k, const std::string& terminalName,
                                  const std::string& pcPath, std::string_view detail);

    // The result of the last library call made for a file or a switch.
    int LastResult() const { return lastResult_; }
    void NoteResult(int result) { lastResult_ = result; }
    // A name that must not be used as a local file name: its line with
    // "Illegal file name", and the address marked failed.
    void RefuseName(std::size_t k, std::string_view name);

    // True, once the Stop command has finished (WaitUntilIdle), when a stop
    // was requested.
    bool Stopped();
    void Refresh(bool erase) { link_.RefreshProgress(erase); }
    platform::Platform& Environment() { return link_.Environment(); }
    CTerminalLink& Link() { return link_; }
    LinkStatus& Status() { return status_; }
    ProgressState& Progress() { return progress_; }

private:
    // The one-terminal download; `resume` first asks the terminal to go on
    // from what it kept of the last group.
    std::optional<int> DownloadOneFile(std::size_t k, const std::string& pcPath,
                                       const std::string& terminalName, std::string_view detail,
                                       bool resume);
    // The line and status of a finished download, and the pauses after it.
    void ReportDownload(std::size_t k, std::string_view detail, int result);
    // Calls `step` (HM_download2, HM_upload2, HM_download_group2) until it
    // returns anything but ZELO_MORE, showing its running counts and cycling
    // the busy picture with them; returns its last result, and the byte
    // count as the last call left it in *bytesAtEnd.
    using LibraryStep = int32_t(ZELO_API*)(int32_t* bytes, int32_t* packets);
    int StepWithProgress(LibraryStep step, int32_t* bytesAtEnd = nullptr);
    // Beside a transfer's result line: why its local file failed, naming the
    // file, in the system's words, when the library knows.
    void ExplainLocalFileFailure();
    static int StatusOfTransfer(int result);

    CTerminalLink& link_;
    const CommSettings& comm_;
    LinkStatus& status_;
    ProgressState& progress_;
    int lastResult_ = 1;
};

// The name a PC file gets on the terminal: its base name, after the last
// '\\', '/' or ':'; with "C:" in front when `onEmsDrive` (the Delmar's EMS
// drive).
std::string TerminalNameOf(std::string_view pcPath, bool onEmsDrive);

}  // namespace zelo::link
