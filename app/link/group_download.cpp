// One PC file to several terminals at once: the library sends it to the
// group, and each terminal is then finished on its own, with its own line,
// as the one-by-one download would have done.
#include <zelodll.h>

#include <string>
#include <vector>

#include "link/transfer_framing.hpp"

namespace zelo::link {

bool TransferRun::GroupUsable(int groupDownloads) const {
    if (groupDownloads == 0 || status_.powerSaving == 1) return false;
    std::size_t selected = 0;
    for (std::size_t k = 0; k < AddressCount(); ++k)
        if (Address(k) != '\0' && IsSelected(k)) ++selected;
    return selected > 1;
}

std::optional<GroupOutcome> TransferRun::DownloadToGroup(const std::string& pcPath,
                                                         const std::string& terminalName) {
    GroupOutcome outcome;
    outcome.results.fill(ZELO_NOT_GATHERED);
    // Each address once, in the order the loop visits them.
    std::string members;
    std::vector<std::size_t> positions;
    for (std::size_t k = 0; k < AddressCount() && members.size() < ZELO_GROUP_MAX_MEMBERS; ++k) {
        const char address = Address(k);
        if (address == '\0') break;
        if (!IsSelected(k) || members.find(address) != std::string::npos) continue;
        members += address;
        positions.push_back(k);
    }
    if (positions.size() < 2) return outcome;

    progress_.fileName.Set(pcPath);
    progress_.currentAddress = static_cast<int>(positions.front());
    progress_.phase = 0;
    progress_.total = static_cast<int>(Environment().FileSize(pcPath).value_or(0));
    progress_.bytes = 0;
    progress_.packets = 0;
    for (std::size_t k : positions) progress_.addressStatus[k] = kStatusTransferring;
    link_.RefreshProgress(false);

    int result =
        HM_download_group1(comm_.port, members.c_str(), pcPath.c_str(), terminalName.c_str());
    if (result == ZELO_OK) result = StepWithProgress(HM_download_group2);
    if (Stopped()) return std::nullopt;
    for (std::size_t j = 0; j < positions.size(); ++j) {
        int32_t memberResult = ZELO_NOT_GATHERED;
        if (HM_download_group_member(members[j], &memberResult, nullptr) == ZELO_OK)
            outcome.results[positions[j]] = memberResult;
    }
    progress_.phase = kPhaseAtRest;
    return outcome;
}

std::optional<int> TransferRun::FinishAfterGroup(std::size_t k, const GroupOutcome& outcome,
                                                 const std::string& pcPath,
                                                 const std::string& terminalName,
                                                 std::string_view detail) {
    if (!outcome.SentWhole(k)) {
        const bool failedInGroup = outcome.results[k] != ZELO_NOT_GATHERED;
        return DownloadOneFile(k, pcPath, terminalName, detail, failedInGroup);
    }
    progress_.currentAddress = static_cast<int>(k);
    ReportDownload(k, detail, ZELO_OK);
    return ZELO_OK;
}

}  // namespace zelo::link
