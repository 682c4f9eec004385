#include <zelodll.h>

#include <string>
#include <vector>

#include "link/terminal_link.hpp"
#include "link/transfer_framing.hpp"

namespace zelo::link {

void CTerminalLink::PurgeFiles(const CommSettings& comm, LinkStatus& status,
                               ProgressState& progress, const TransferLists& lists,
                               char chosenAddress, int allAddresses) {
    std::vector<std::string> names;
    if (status.commandLineMode == 1) {
        names.push_back(lists.deleteFileName);
    } else if (lists.pickedFiles.empty()) {
        ShowMessageBox("No file to be setting");
        return;
    } else {
        names = lists.pickedFiles;
    }
    if (comm.terminalType == kDelmar) Environment().Sleep(1500);
    progress.mode = kProgressPerAddress;
    progress.phase = kPhaseAtRest;
    RefreshProgress(0);
    status.idle = 0;

    TransferRun run(*this, comm, status, progress);
    for (std::size_t k = 0; k < run.AddressCount(); ++k) {
        const char address = run.Address(k);
        if ((allAddresses != 1 && address != chosenAddress) || !run.IsSelected(k)) continue;
        for (const std::string& name : names) {
            progress.currentAddress = static_cast<int>(k);
            progress.phase = kPhaseAtRest;
            progress.addressStatus[k] = kStatusWorking;
            RefreshProgress(0);
            const int result = HM_delete(comm.port, address, name.c_str());
            if (run.Stopped()) return;
            ShowResult(address, "Purge ", name, result);
            progress.addressStatus[k] = result == ZELO_OK             ? kStatusDone
                                        : result == ZELO_NO_SUCH_FILE ? kStatusNoSuchFile
                                                                      : kStatusFailed;
            RefreshProgress(0);
        }
    }
    status.idle = 1;
}

}  // namespace zelo::link
