#include "link/transfer_framing.hpp"

#include <zelodll.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "link/bounded_text.hpp"

namespace zelo::link {
namespace {

constexpr int kDelmarAddressPauseMs = 2000;
constexpr int kDelmarDownloadPauseMs = 1500;
constexpr int kUploadPauseMs = 1000;

}  // namespace

std::size_t TransferRun::AddressCount() const {
    return std::min(comm_.addresses.size(), kAddressSlots);
}

bool TransferRun::Stopped() {
    if (link_.IsStopRequested() == 0) return false;
    WaitForIdle(status_);
    return true;
}

bool TransferRun::BeginAddress(std::size_t k, bool download) {
    if (!IsSelected(k)) return false;
    progress_.currentAddress = static_cast<int>(k);
    progress_.phase = kPhaseAtRest;
    progress_.addressStatus[k] = kStatusWorking;
    link_.RefreshProgress(false);
    progress_.phase = 0;
    progress_.addressStatus[k] = download ? kStatusTransferring : kStatusDone;
    if (status_.powerSaving != 1) return true;
    const int result = link_.SwitchPowerSaving(false, 0, comm_, status_, static_cast<int>(k));
    lastResult_ = result;
    progress_.addressStatus[k] = result == 0 ? kStatusDone : kStatusNotDone;
    return result == 0;
}

void TransferRun::EndAddress(std::size_t k, int libraryFlag) {
    if (status_.powerSaving == 1) {
        const int result =
            link_.SwitchPowerSaving(true, libraryFlag, comm_, status_, static_cast<int>(k));
        lastResult_ = result;
        progress_.addressStatus[k] = result == 0 ? kStatusDone : kStatusNotDone;
        link_.RefreshProgress(false);
    }
    if (comm_.terminalType == kDelmar) Environment().Sleep(kDelmarAddressPauseMs);
}

int TransferRun::StepWithProgress(LibraryStep step, int32_t* bytesAtEnd) {
    int32_t bytes = 0;
    int32_t packets = 0;
    int result = ZELO_MORE;
    while ((result = step(&bytes, &packets)) == ZELO_MORE) {
        progress_.bytes = bytes;
        progress_.packets = packets;
        if (progress_.phase != kPhaseAtRest) progress_.phase = 5 - packets % 5;
        link_.RefreshProgress(false);
    }
    if (bytesAtEnd != nullptr) *bytesAtEnd = bytes;
    return result;
}

int TransferRun::StatusOfTransfer(int result) {
    if (result == ZELO_OK) return kStatusDone;
    return result == ZELO_NO_SUCH_FILE ? kStatusNoSuchFile : kStatusFailed;
}

std::optional<int> TransferRun::DownloadFile(std::size_t k, const std::string& pcPath,
                                             const std::string& terminalName,
                                             std::string_view detail) {
    return DownloadOneFile(k, pcPath, terminalName, detail, false);
}

std::optional<int> TransferRun::DownloadOneFile(std::size_t k, const std::string& pcPath,
                                                const std::string& terminalName,
                                                std::string_view detail, bool resume) {
    progress_.fileName.Set(pcPath);
    progress_.phase = 0;
    progress_.total = 0;
    progress_.bytes = 0;
    progress_.packets = 0;
    int32_t size = 0;
    int result =
        resume ? HM_download_group_resume(comm_.port, Address(k), &size) : ZELO_NOT_GATHERED;
    if (result != ZELO_OK)
        result = HM_download1(comm_.port, Address(k), pcPath.c_str(), terminalName.c_str(), &size);
    if (result == ZELO_OK) {
        progress_.total = size;
        result = StepWithProgress(HM_download2);
    }
    if (Stopped()) return std::nullopt;
    ReportDownload(k, detail, result);
    return result;
}

void TransferRun::ReportDownload(std::size_t k, std::string_view detail, int result) {
    progress_.phase = kPhaseAtRest;
    progress_.addressStatus[k] = StatusOfTransfer(result);
    lastResult_ = result;
    link_.ShowResult(Address(k), "Download ", detail, result);
    if (result != ZELO_OK) ExplainLocalFileFailure();
    if (comm_.terminalType == kDelmar) Environment().Sleep(kDelmarDownloadPauseMs);
    link_.RefreshProgress(false);
}

std::optional<int> TransferRun::UploadFile(std::size_t k, const std::string& terminalName,
                                           const std::string& pcPath, std::string_view detail) {
    progress_.fileName.Set(terminalName);
    progress_.phase = 0;
    progress_.bytes = 0;
    progress_.packets = 0;
    // The library writes back the local name it settled on (a new name when
    // the save mode keeps an existing file).
    std::array<char, ZELO_LOCAL_NAME_SIZE> localName{};
    int result = ZELO_UNKNOWN_RESPONSE;
    if (pcPath.size() < localName.size()) {
        std::copy(pcPath.begin(), pcPath.end(), localName.begin());
        const std::optional<std::int64_t> sizeBefore = Environment().FileSize(pcPath);
        result = HM_upload1(comm_.port, Address(k), terminalName.c_str(), localName.data());
        if (result == ZELO_OK) {
            const std::string settled(localName.data());
            progress_.saveAsName.Set(settled);
            int32_t bytes = 0;
            result = StepWithProgress(HM_upload2, &bytes);
            // Appending keeps what the file held; every other mode starts it
            // empty or under a fresh name.
            const bool appended =
                HM_get_upload_file_save_mode() == ZELO_SAVE_APPEND && settled == pcPath;
            const std::int64_t expected = bytes + (appended ? sizeBefore.value_or(0) : 0);
            if (result == ZELO_OK && Environment().FileSize(settled) != expected)
                result = ZELO_CANNOT_OPEN_LOCAL;
        }
    }
    if (Stopped()) return std::nullopt;
    lastResult_ = result;
    link_.ShowResult(Address(k), "Upload ", detail, result);
    if (result != ZELO_OK && pcPath.size() < localName.size()) ExplainLocalFileFailure();
    if (comm_.terminalType >= kEstra && comm_.terminalType <= kBrisa)
        Environment().Sleep(kUploadPauseMs);
    progress_.addressStatus[k] = StatusOfTransfer(result);
    link_.RefreshProgress(false);
    return result;
}

void TransferRun::ExplainLocalFileFailure() {
    std::array<char, 512> reason{};
    if (HM_last_file_error_text(reason.data(), static_cast<int32_t>(reason.size())) == 0) return;
    link_.ExplainFailure(TextWithin(reason.data(), reason.size()));
}

void TransferRun::RefuseName(std::size_t k, std::string_view name) {
    link_.ShowResult(Address(k), "Upload ", name, ZELO_ILLEGAL_FILE_NAME);
    progress_.addressStatus[k] = kStatusFailed;
    link_.RefreshProgress(false);
}

std::string TerminalNameOf(std::string_view pcPath, bool onEmsDrive) {
    const std::size_t cut = pcPath.find_last_of("\\/:");
    std::string name(cut == std::string_view::npos ? pcPath : pcPath.substr(cut + 1));
    return onEmsDrive ? "C:" + name : name;
}

}  // namespace zelo::link
