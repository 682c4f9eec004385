// The download calls beside the file transfers: the stepwise download from
// the caller's memory, and the cancel request.
#include <string_view>

#include "c_boundary.hpp"
#include "download_requests.hpp"
#include "library_state.hpp"
#include "power_saving.hpp"
#include "single_request.hpp"
#include "transfer_files.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

// The announce request "L" and the name share one 256-byte buffer.
constexpr std::size_t kMaxAnnouncedName = kDataRequestSize - 2;

int32_t translateAnnounce(int32_t result) {
    return translate(
        result, {},
        {{PENDRA_ILLEGAL, ZELO_ILLEGAL_COMMAND}, {PENDRA_DAMAGED_REPLY, ZELO_BAD_BLOCK}});
}

int32_t translateCancel(int32_t result) {
    return translate(result, {PENDRA_ACCEPTED}, {{PENDRA_ILLEGAL, ZELO_ILLEGAL_COMMAND}});
}

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_download11(int32_t port, int32_t address, const char* remote_name) try {
    const std::size_t length = boundedLength(remote_name, kMaxAnnouncedName);
    if (length > kMaxAnnouncedName) return ZELO_UNKNOWN_RESPONSE;
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;

    const std::string_view remote =
        remote_name == nullptr ? std::string_view{} : std::string_view{remote_name, length};
    const int16_t result = sendDownloadRequest<kDataRequestSize>(linkAddress(address), "L", remote);
    TransferState& transfer = state().transfer;
    transfer.savedPort = port;
    transfer.savedAddress = static_cast<char>(address);
    if (result == kRequestAccepted) {
        HM_time_delay(2);
        transfer.open = true;
        return ZELO_OK;
    }
    powerSavingOnPart(port, address);
    return translateAnnounce(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_download22(const char* packet, int32_t count) try {
    TransferState& transfer = state().transfer;
    if (!transfer.open) return ZELO_NO_OPEN_DOWNLOAD;
    // A packet whose escaped form would not fit the request is refused before
    // anything is sent; the transfer stays open.
    if (count < 0 || (count > 0 && packet == nullptr)) return ZELO_UNKNOWN_RESPONSE;
    const std::string_view bytes =
        count > 0 ? std::string_view{packet, static_cast<std::size_t>(count)} : std::string_view{};
    if (count > 0 && !dataPacketFits(bytes)) return ZELO_UNKNOWN_RESPONSE;

    const int16_t to = linkAddress(transfer.savedAddress);
    int16_t result = 0;
    if (count > 0) {
        result = sendDataPacket(to, bytes);
        if (result == kRequestAccepted) {
            acknowledgeDownload(to);
            return ZELO_MORE;
        }
    } else {
        result = sendDownloadRequest<128>(to, "Z");
        if (result == kRequestAccepted) acknowledgeDownload(to);
    }
    powerSavingOnPart(transfer.savedPort, transfer.savedAddress);
    transfer.open = false;
    // A stop is not a link result here: this call never tests the flag.
    return result == kStoppedResult ? ZELO_UNKNOWN_RESPONSE : translateDownloadEnd(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_cancel_download(int32_t port, int32_t address) try {
    if (!powerSavingOffPart(port, address)) {
        // The terminal cannot be told, but the local file is let go all the
        // same: every caller treats the transfer as over.
        closeDownloadFile();
        return ZELO_POWER_SAVING_ON;
    }
    const int16_t result = sendDownloadCancel(linkAddress(address));
    powerSavingOnPart(port, address);
    closeDownloadFile();
    return translateCancel(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

}  // extern "C"
