// The upload calls beside the file transfers: the stepwise upload to the
// caller's memory, the cancel request and the upload-mode query.
#include <algorithm>
#include <cstring>

#include "c_boundary.hpp"
#include "library_state.hpp"
#include "power_saving.hpp"
#include "single_request.hpp"
#include "transfer_files.hpp"
#include "upload_file.hpp"
#include "upload_requests.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

constexpr std::size_t kMaxRequestText = kUploadRequestSize - 1;

int32_t translateCancel(int32_t result) {
    return translate(result, {PENDRA_ACCEPTED}, {{PENDRA_MORE_DATA, ZELO_NO_SUCH_FILE}});
}

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_upload11(int32_t port, int32_t address, const char* request) try {
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;
    // The request text is cut to what the buffer holds.
    const std::size_t length = std::min(boundedLength(request, kMaxRequestText), kMaxRequestText);
    const int16_t result = sendUploadRequest(linkAddress(address), textOf(request, length));
    if (result == kLinkAccepted) {
        state().transfer.openWith(port, address);
        return ZELO_OK;
    }
    powerSavingOnPart(port, address);
    return translateUploadRequest(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_upload22(char* packet, int32_t /*unused*/) try {
    TransferState& transfer = state().transfer;
    const int16_t to = linkAddress(transfer.savedAddress);
    RequestBuffer<kUploadRequestSize> reply;
    const int16_t result = Pendra_ESC_Y(linkHandle(), to, reply.data(), reply.lengthByte());
    if (result == kLinkPacket && reply.length > 0) {
        if (packet != nullptr) std::memcpy(packet, reply.bytes.data(), reply.length);
        // The call's result cannot carry the length, so the slot does.
        state().returnSlots[kTextLengthSlot] = reply.length;
        acknowledge(to);
        return ZELO_MORE;
    }
    acknowledge(to);
    powerSavingOnPart(transfer.savedPort, transfer.savedAddress);
    if (result == kLinkPacket || result == kLinkEnd) return ZELO_OK;
    return translateUploadRequest(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_cancel_upload(int32_t port, int32_t address) try {
    if (!powerSavingOffPart(port, address)) {
        // The terminal cannot be told, but the local file is let go all the
        // same: every caller treats the transfer as over.
        dropUploadFile();
        return ZELO_POWER_SAVING_ON;
    }
    const int16_t result = sendUploadCancel(linkAddress(address));
    powerSavingOnPart(port, address);
    dropUploadFile();
    return translateCancel(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_upload_mode(int32_t port, int32_t address) try {
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;
    RequestBuffer<128> request;
    request.assign("Q");
    const int16_t result =
        Pendra_DBG(linkHandle(), linkAddress(address), request.data(), request.lengthByte());
    powerSavingOnPart(port, address);
    if (result == PENDRA_REPLY) {
        // The answer is the reply's third byte; a shorter reply has none.
        if (request.length < 3) return ZELO_UNKNOWN_RESPONSE;
        const int mode = request.replyCode();
        if (mode == 0) return ZELO_OK;
        return mode == 1 ? ZELO_IN_UPLOAD_MODE : ZELO_UNKNOWN_RESPONSE;
    }
    return translate(result, {});
} catch (...) {
    return zelo::failedInsideLibrary();
}

}  // extern "C"
