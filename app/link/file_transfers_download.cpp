#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "link/terminal_link.hpp"
#include "link/transfer_framing.hpp"

namespace zelo::link {
namespace {

constexpr int kMostAttempts = 9999;

// The download series that the display shows in transfer mode: the same
// files to every selected address in turn, each under its base name.
// False when stopped.
template <typename Names>
bool DownloadToEveryAddress(TransferRun& run, const Names& pcPaths, bool onEmsDrive) {
    for (std::size_t k = 0; k < run.AddressCount(); ++k) {
        if (!run.BeginAddress(k, true)) continue;
        for (const std::string& pcPath : pcPaths) {
            if (pcPath.empty()) continue;
            if (!run.DownloadFile(k, pcPath, TerminalNameOf(pcPath, onEmsDrive), pcPath))
                return false;
        }
        run.EndAddress(k, 0);
    }
    return true;
}

// The same series with each file sent to the group first: then every
// address gets its line for that file, in the loop's order, before the next
// file goes out. False when stopped.
template <typename Names>
bool DownloadToGroupThenEachAddress(TransferRun& run, const Names& pcPaths, bool onEmsDrive) {
    for (const std::string& pcPath : pcPaths) {
        if (pcPath.empty()) continue;
        const std::string terminalName = TerminalNameOf(pcPath, onEmsDrive);
        const std::optional<GroupOutcome> outcome = run.DownloadToGroup(pcPath, terminalName);
        if (!outcome) return false;
        for (std::size_t k = 0; k < run.AddressCount(); ++k) {
            if (!run.BeginAddress(k, true)) continue;
            if (!run.FinishAfterGroup(k, *outcome, pcPath, terminalName, pcPath)) return false;
        }
    }
    for (std::size_t k = 0; k < run.AddressCount(); ++k)
        if (run.IsSelected(k)) run.EndAddress(k, 0);
    return true;
}

template <typename Names>
void DownloadSeries(TransferRun& run, const Names& pcPaths, bool onEmsDrive, int groupDownloads) {
    ProgressState& progress = run.Progress();
    progress.mode = kProgressTransfer;
    progress.phase = kPhaseAtRest;
    run.Refresh(true);
    run.Status().idle = 0;
    const bool finished = run.GroupUsable(groupDownloads)
                              ? DownloadToGroupThenEachAddress(run, pcPaths, onEmsDrive)
                              : DownloadToEveryAddress(run, pcPaths, onEmsDrive);
    if (finished) run.Status().idle = 1;
}

// The repeat count of a command-line download: its leading digits, at least
// one attempt and a bounded number.
int AttemptsOf(const CommandLineState& commandLine) {
    if (commandLine.tokenCount <= 4) return 1;
    const std::string& text = commandLine.tokens[4];
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    (void)end;
    if (error == std::errc::result_out_of_range) return kMostAttempts;
    if (error != std::errc{} || count < 1) return 1;
    return std::min(count, kMostAttempts);
}

}  // namespace

void CTerminalLink::DownloadSelectedFiles(const OperationContext& context,
                                          const TransferLists& lists, bool onEmsDrive) {
    TransferRun run(*this, context);
    DownloadSeries(run, lists.pickedFiles, onEmsDrive, lists.groupDownloads);
}

void CTerminalLink::DownloadFileList(const OperationContext& context, const TransferLists& lists,
                                     bool onEmsDrive) {
    TransferRun run(*this, context);
    DownloadSeries(run, lists.downloadFiles, onEmsDrive, lists.groupDownloads);
}

void CTerminalLink::DownloadByCommandLine(const OperationContext& context,
                                          const TransferLists& lists,
                                          const CommandLineState& commandLine) {
    TransferRun run(*this, context);
    const std::string& source = commandLine.tokens[2];
    const std::string& target = commandLine.tokens[3];
    context.progress.mode = kProgressTransfer;
    context.progress.bytes = 0;
    context.progress.packets = 0;
    context.progress.total = 0;
    context.progress.phase = kPhaseAtRest;
    RefreshProgress(true);
    context.status.idle = 0;
    // The group goes first when it may; the repeat count is then each
    // address's own, for what the group did not deliver.
    std::optional<GroupOutcome> outcome;
    if (run.GroupUsable(lists.groupDownloads)) {
        outcome = run.DownloadToGroup(source, target);
        if (!outcome) return;
    }
    for (std::size_t k = 0; k < run.AddressCount(); ++k) {
        if (!run.BeginAddress(k, true)) continue;
        bool afterGroup = outcome.has_value();
        for (int attempts = AttemptsOf(commandLine); attempts > 0; --attempts) {
            const std::optional<int> result =
                afterGroup ? run.FinishAfterGroup(k, *outcome, source, target, source)
                           : run.DownloadFile(k, source, target, source);
            if (!result) return;
            if (*result == 0) break;
            afterGroup = false;  // a further attempt starts over
        }
        run.EndAddress(k, 0);
    }
    context.status.idle = 1;
}

}  // namespace zelo::link
