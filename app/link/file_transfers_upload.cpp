#include <zelodll.h>

#include <string>

#include "link/address_loop.hpp"
#include "link/terminal_link.hpp"
#include "link/transfer_framing.hpp"
#include "link/upload_folder.hpp"

namespace zelo::link {
namespace {

constexpr int kDelmarDeletePauseMs = 1000;
constexpr int kIdlePassPauseMs = 100;
constexpr int kCountdownStepMs = 1000;

// Marks address k and makes sure its upload folder exists; on failure shows
// `message` with the folder between single quotes.
bool PrepareAddressFolder(TransferRun& run, std::size_t k, const std::string& folder,
                          std::string_view message) {
    ProgressState& progress = run.Progress();
    progress.currentAddress = static_cast<int>(k);
    progress.addressStatus[k] = kStatusWorking;
    run.Refresh(true);
    if (run.Environment().EnsureDirectory(folder)) return true;
    run.Link().ShowMessageBox("Directory '" + folder + "'" + std::string(message));
    return false;
}

std::string PathIn(const std::string& folder, char separator, const std::string& name) {
    return folder + separator + name;
}

// The looping upload's wait between passes, one second at a time so that
// the display counts down and a stop ends it at once. False when stopped.
bool CountDown(TransferRun& run, int period) {
    ProgressState& progress = run.Progress();
    progress.phase = 0;
    progress.countdown = period;
    for (std::size_t k = 0; k < run.AddressCount(); ++k) progress.addressStatus[k] = kStatusWorking;
    for (int i = 0; i <= period; ++i) {
        run.Environment().Sleep(kCountdownStepMs);
        progress.countdown = period - i;
        run.Refresh(false);
        if (run.Stopped()) return false;
    }
    return true;
}

}  // namespace

void CTerminalLink::UploadSelectedFiles(const OperationContext& context,
                                        const TransferLists& lists) {
    TransferRun run(*this, context);
    const char separator = Environment().PathSeparator();
    BeginAddressLoop(*this, context, /*clearDisplay=*/true);
    for (std::size_t k = 0; k < run.AddressCount(); ++k) {
        if (!run.IsSelected(k)) continue;
        const std::string folder = AddressFolder(lists.workingDirectory, separator, run.Address(k));
        if (!PrepareAddressFolder(run, k, folder, " can't be created")) break;
        if (!run.BeginAddress(k, false)) continue;
        for (const std::string& name : lists.pickedFiles) {
            if (!IsPlainFileName(name)) {
                run.RefuseName(k, name);
                continue;
            }
            if (!run.UploadFile(k, name, PathIn(folder, separator, name), name)) return;
        }
        run.EndAddress(k, 0);
    }
    EndAddressLoop(*this, context);
}

void CTerminalLink::UploadFileList(const OperationContext& context, const TransferLists& lists,
                                   bool onEmsDrive) {
    TransferRun run(*this, context);
    const char separator = Environment().PathSeparator();
    BeginAddressLoop(*this, context, /*clearDisplay=*/true);
    context.progress.countdown = 0;

    for (;;) {
        bool anySelected = false;
        for (std::size_t k = 0; k < run.AddressCount(); ++k) {
            if (!run.IsSelected(k)) continue;
            anySelected = true;
            const char address = run.Address(k);
            const std::string folder = AddressFolder(lists.workingDirectory, separator, address);
            if (!PrepareAddressFolder(run, k, folder, " can't be createdm ")) {
                context.status.idle = 1;
                break;
            }
            if (!run.BeginAddress(k, false)) continue;
            bool inUploadMode = true;
            if (lists.uploadLoop == 1) {
                run.NoteResult(HM_upload_mode(context.settings.port, address));
                if (run.Stopped()) return;
                inUploadMode = run.LastResult() == ZELO_OK;
            }
            for (std::size_t j = 0; inUploadMode && j < lists.uploadFiles.size(); ++j) {
                const std::string& name = lists.uploadFiles[j];
                if (name.empty()) continue;
                if (!IsPlainFileName(name)) {
                    run.RefuseName(k, name);
                    continue;
                }
                const std::string terminalName = TerminalNameOf(name, onEmsDrive);
                const std::optional<int> result =
                    run.UploadFile(k, terminalName, PathIn(folder, separator, name), name);
                if (!result) return;
                if (*result != ZELO_OK || lists.deleteAfterUpload[j] != 1) continue;
                const int deleted = HM_delete(context.settings.port, address, terminalName.c_str());
                if (run.Stopped()) return;
                run.NoteResult(deleted);
                ShowResult(address, "Purge ", name, deleted);
                context.progress.addressStatus[k] = kStatusDone;
                if (context.settings.terminalType == kDelmar)
                    Environment().Sleep(kDelmarDeletePauseMs);
            }
            run.EndAddress(k, 1);
        }
        if (lists.uploadLoop == 0 || context.status.idle == 1) break;
        if (run.Stopped()) return;
        // Nothing selected makes no exchange; pause rather than spin.
        if (!anySelected) Environment().Sleep(kIdlePassPauseMs);
        const int last = run.LastResult();
        if ((last != ZELO_OK && last != ZELO_NO_SUCH_FILE) || lists.uploadPeriod <= 0) continue;
        if (!CountDown(run, lists.uploadPeriod)) return;
    }
    EndAddressLoop(*this, context);
}

void CTerminalLink::UploadByCommandLine(const OperationContext& context,
                                        const CommandLineState& commandLine) {
    TransferRun run(*this, context);
    const std::string& source = commandLine.tokens[2];
    const std::string& target = commandLine.tokens[3];
    context.progress.bytes = 0;
    context.progress.packets = 0;
    BeginAddressLoop(*this, context, /*clearDisplay=*/true);
    Environment().Sleep(20);
    for (std::size_t k = 0; k < run.AddressCount(); ++k) {
        if (!run.BeginAddress(k, false)) continue;
        if (!run.UploadFile(k, source, target, source)) return;
        run.EndAddress(k, 1);
    }
    EndAddressLoop(*this, context);
}

}  // namespace zelo::link
