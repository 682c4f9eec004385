#include <zelodll.h>

#include <string>
#include <vector>

#include "link/terminal_link.hpp"
#include "link/transfer_framing.hpp"

namespace zelo::link {

void CTerminalLink::PurgeFiles(const OperationContext& context, const TransferLists& lists,
                               char chosenAddress, bool allAddresses) {
    std::vector<std::string> names;
    if (context.status.commandLineMode == 1) {
        names.push_back(lists.deleteFileName);
    } else if (lists.pickedFiles.empty()) {
        ShowMessageBox("No file to be setting");
        return;
    } else {
        names = lists.pickedFiles;
    }
    if (context.settings.terminalType == kDelmar) Environment().Sleep(1500);
    context.progress.mode = kProgressPerAddress;
    context.progress.phase = kPhaseAtRest;
    RefreshProgress(false);
    context.status.idle = 0;

    TransferRun run(*this, context);
    for (std::size_t k = 0; k < run.AddressCount(); ++k) {
        const char address = run.Address(k);
        if ((!allAddresses && address != chosenAddress) || !run.IsSelected(k)) continue;
        for (const std::string& name : names) {
            context.progress.currentAddress = static_cast<int>(k);
            context.progress.phase = kPhaseAtRest;
            context.progress.addressStatus[k] = kStatusWorking;
            RefreshProgress(false);
            const int result = HM_delete(context.settings.port, address, name.c_str());
            if (run.Stopped()) return;
            ShowResult(address, "Purge ", name, result);
            context.progress.addressStatus[k] = result == ZELO_OK             ? kStatusDone
                                                : result == ZELO_NO_SUCH_FILE ? kStatusNoSuchFile
                                                                              : kStatusFailed;
            RefreshProgress(false);
        }
    }
    context.status.idle = 1;
}

}  // namespace zelo::link
