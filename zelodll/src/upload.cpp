// Uploads: files from a terminal to the host. The terminal sends a file as
// packets of at most 255 bytes; the host fetches each with one request,
// stores it as received and acknowledges it before asking for the next.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "c_boundary.hpp"
#include "library_state.hpp"
#include "link_interface.hpp"
#include "local_file_error.hpp"
#include "power_saving.hpp"
#include "single_request.hpp"
#include "transfer_files.hpp"
#include "upload_file.hpp"
#include "upload_requests.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

// The whole-file upload builds resume requests from its remote name in the
// same 256-byte buffer, so the name leaves room for the offset.
constexpr std::size_t kMaxWholeUploadRemoteName = kUploadRequestSize - 1 - kResumeSuffixRoom;
// The stepwise upload keeps its remote name in a 100-byte buffer for resumes.
constexpr std::size_t kMaxSavedRemoteName = ZELO_REMOTE_NAME_SIZE - 1;
constexpr std::size_t kMaxLocalName = ZELO_LOCAL_NAME_SIZE - 1;

// The 16th negative acknowledgement since the last good packet ends a
// whole-file upload.
constexpr int kNakLimit = 15;

constexpr int16_t kNak = PENDRA_NAK;
// Not a link result: the caller stopped the transfer.
constexpr int16_t kStopped = kStoppedResult;

// Writes a received packet to the upload file and counts it. False when the
// file is gone or took fewer bytes than the packet holds.
bool storePacket(const RequestBuffer<kUploadRequestSize>& packet) {
    TransferState& transfer = state().transfer;
    if (!transfer.uploadFile || !transfer.uploadFile->write(packet.bytes.data(), packet.length)) {
        noteLocalFileError(transfer.localName.data(), "cannot write");
        return false;
    }
    transfer.packetCount += 1;
    transfer.byteCount += packet.length;
    return true;
}

// Puts the upload file where the resumed data belongs: after what an appended
// file held before this transfer, plus what the terminal will not send again.
bool positionUploadFile() {
    TransferState& transfer = state().transfer;
    if (transfer.uploadFile &&
        transfer.uploadFile->seek(transfer.uploadAppendBase + transfer.byteCount))
        return true;
    noteLocalFileError(transfer.localName.data(), "cannot write");
    return false;
}

// A packet that cannot be stored must not be acknowledged: the terminal is
// told to stop and the partial file is dropped.
void abandonUpload(int16_t to) {
    sendUploadCancel(to);
    dropUploadFile();
}

// The whole-file check that a terminal speaking version 2 sends with the
// end of the file; nullptr from a terminal that sends none.
const unsigned char* endCheck(int16_t result, const RequestBuffer<kUploadRequestSize>& packet) {
    if (result != kLinkEnd || packet.length != kUploadCheckBytes) return nullptr;
    return reinterpret_cast<const unsigned char*>(packet.bytes.data());
}

// Copies the caller's local name into the library's buffer and, in save
// mode 0, makes it unique. False when no free name was found.
bool settleLocalName(const char* localName, std::size_t length) {
    TransferState& transfer = state().transfer;
    transfer.localName.fill(0);
    if (localName != nullptr) std::memcpy(transfer.localName.data(), localName, length);
    if (state().uploadSaveMode != ZELO_SAVE_NEW_NAME) return true;
    return makeUniqueLocalName(transfer.localName.data(), length);
}

// Opens the upload file for the settled local name and hands the name used
// back to the caller.
bool openLocalFile(char* localName, std::size_t length) {
    TransferState& transfer = state().transfer;
    if (!beginUploadFile(transfer.localName.data(), state().uploadSaveMode)) return false;
    if (localName != nullptr) std::memcpy(localName, transfer.localName.data(), length + 1);
    return true;
}

void startCounting() {
    state().transfer.packetCount = 0;
    state().transfer.byteCount = 0;
    state().clearStop();
}

// How a whole-file upload ended: the last link result (kStopped when
// stopped), or the library's own result when the local file failed.
struct WholeFileEnd {
    int16_t link = 0;
    int32_t local = ZELO_OK;
};

// Fetches packets into the open upload file until the terminal ends the file,
// the caller stops, or the negative acknowledgements or retries run out.
[[nodiscard]] WholeFileEnd receiveWholeFile(int32_t port, int32_t address,
                                            std::string_view remote) {
    LibraryState& s = state();
    const int16_t to = linkAddress(address);
    int32_t retriesLeft = s.retryTimes;
    int naks = 0;
    for (;;) {
        if (s.stopRequested()) {
            HM_cancel_upload(port, address);
            return {kStopped};
        }
        RequestBuffer<kUploadRequestSize> packet;
        const int16_t result = Pendra_ESC_Y(linkHandle(), to, packet.data(), packet.lengthByte());
        if (result == kLinkPacket && packet.length > 0) {
            if (!storePacket(packet)) {
                abandonUpload(to);
                return {result, ZELO_CANNOT_OPEN_LOCAL};
            }
            naks = 0;
            acknowledge(to);
            continue;
        }
        if (result == kLinkPacket || result == kLinkEnd) {
            acknowledge(to);
            return {result, installUploadFile(endCheck(result, packet))};
        }
        if (result == kNak) {
            if (++naks > kNakLimit) {
                dropUploadFile();
                return {result};
            }
            continue;
        }
        if (--retriesLeft <= 0) {
            dropUploadFile();
            return {result};
        }
        // Resume one packet back: the terminal sends again from the offset.
        // Until it takes the resume, where it would go on from is unknown, so
        // no packet is fetched: the resume is asked again (a repeat only sets
        // the same offset) until the retries run out.
        sendUploadCancel(to);
        stepBackOnePacket();
        for (;;) {
            const int16_t resumed = sendUploadRequest(to, resumeText(remote, s.transfer.byteCount));
            if (resumed == kLinkAccepted) break;
            if (s.stopRequested()) {
                HM_cancel_upload(port, address);
                return {kStopped};
            }
            if (--retriesLeft <= 0) {
                dropUploadFile();
                return {resumed == kLinkEnd ? kNak : resumed};
            }
        }
        if (!positionUploadFile()) {
            abandonUpload(to);
            return {kLinkAccepted, ZELO_CANNOT_OPEN_LOCAL};
        }
    }
}

int32_t translateWholeUpload(int32_t result) {
    return translate(result, {PENDRA_REPLY, PENDRA_END},
                     {{PENDRA_DAMAGED_REPLY, ZELO_NAK},
                      {PENDRA_REFUSED, ZELO_NO_SUCH_FILE},
                      {kStoppedResult, ZELO_STOPPED}});
}

int32_t translatePacketCall(int32_t result) {
    return translate(result, {PENDRA_REPLY, PENDRA_END},
                     {{PENDRA_DAMAGED_REPLY, ZELO_NAK}, {kStoppedResult, ZELO_STOPPED}});
}

int32_t translateResume(int32_t result) {
    return translate(result, {PENDRA_ACCEPTED}, {{PENDRA_DAMAGED_REPLY, ZELO_NAK}});
}

}  // namespace

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_upload(int32_t port, int32_t address, const char* remote_name,
                           char* local_name) try {
    clearLocalFileError();
    const std::size_t remoteLength = boundedLength(remote_name, kMaxWholeUploadRemoteName);
    const std::size_t localLength = boundedLength(local_name, kMaxLocalName);
    if (remoteLength > kMaxWholeUploadRemoteName || localLength > kMaxLocalName)
        return ZELO_UNKNOWN_RESPONSE;

    startCounting();
    if (!settleLocalName(local_name, localLength)) return ZELO_NO_FREE_NAME;
    state().returnSlots[kTextLengthSlot] = static_cast<int32_t>(localLength);
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;

    const std::string_view remote = textOf(remote_name, remoteLength);
    const int16_t result = sendUploadRequest(linkAddress(address), remote);
    if (result == kLinkAccepted) {
        // The terminal is not told when the local file cannot be opened, and
        // its power saving stays off.
        if (!openLocalFile(local_name, localLength)) return ZELO_CANNOT_OPEN_LOCAL;
        const WholeFileEnd end = receiveWholeFile(port, address, remote);
        powerSavingOnPart(port, address);
        if (end.local != ZELO_OK) return end.local;
        return translateWholeUpload(end.link);
    }
    powerSavingOnPart(port, address);
    // An upload request answered with "end" did not start a transfer; it is
    // taken as a negative acknowledgement, never as the success that "end"
    // means for a packet request.
    return translateWholeUpload(result == kLinkEnd ? kNak : result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_upload1(int32_t port, int32_t address, const char* remote_name,
                            char* local_name) try {
    clearLocalFileError();
    const std::size_t remoteLength = boundedLength(remote_name, kMaxSavedRemoteName);
    const std::size_t localLength = boundedLength(local_name, kMaxLocalName);
    if (remoteLength > kMaxSavedRemoteName || localLength > kMaxLocalName)
        return ZELO_UNKNOWN_RESPONSE;

    startCounting();
    state().transfer.uploadResumePending = false;
    if (!settleLocalName(local_name, localLength)) return ZELO_NO_FREE_NAME;
    state().returnSlots[kTextLengthSlot] = static_cast<int32_t>(localLength);
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;

    TransferState& transfer = state().transfer;
    const std::string_view remote = textOf(remote_name, remoteLength);
    transfer.remoteName.fill(0);
    std::copy(remote.begin(), remote.end(), transfer.remoteName.begin());

    const int16_t result = sendUploadRequest(linkAddress(address), remote);
    if (result == kLinkAccepted) {
        if (!openLocalFile(local_name, localLength)) return ZELO_CANNOT_OPEN_LOCAL;
        // Power saving stays off until the transfer ends.
        transfer.openWith(port, address);
        return ZELO_OK;
    }
    powerSavingOnPart(port, address);
    return translateUploadRequest(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_upload2(int32_t* byte_count, int32_t* packet_count) try {
    LibraryState& s = state();
    TransferState& transfer = s.transfer;
    const int32_t port = transfer.savedPort;
    const int32_t address = transfer.savedAddress;
    const int16_t to = linkAddress(address);
    // With retry times of 1 or less the call still makes one attempt.
    const int32_t attempts = std::max(s.retryTimes - 1, 1);

    // After a resume the terminal did not take, the place it would send from
    // no longer matches the local file: nothing is fetched into it.
    if (transfer.uploadResumePending) {
        transfer.uploadResumePending = false;
        sendUploadCancel(to);
        dropUploadFile();
        powerSavingOnPart(port, address);
        return ZELO_UNKNOWN_RESPONSE;
    }

    int16_t result = 0;
    for (int32_t attempt = 0; attempt < attempts; ++attempt) {
        if (s.stopRequested()) {
            HM_cancel_upload(port, address);
            result = kStopped;
            break;
        }
        RequestBuffer<kUploadRequestSize> packet;
        packet.assign("Y");
        result = Pendra_ESC_Y(linkHandle(), to, packet.data(), packet.lengthByte());
        if (result == kLinkPacket && packet.length > 0) {
            if (!storePacket(packet)) {
                abandonUpload(to);
                powerSavingOnPart(port, address);
                return ZELO_CANNOT_OPEN_LOCAL;
            }
            if (byte_count != nullptr) *byte_count = transfer.byteCount;
            if (packet_count != nullptr) *packet_count = transfer.packetCount;
            acknowledge(to);
            return ZELO_MORE;
        }
        if (result == kLinkPacket || result == kLinkEnd) {
            acknowledge(to);
            powerSavingOnPart(port, address);
            const int32_t installed = installUploadFile(endCheck(result, packet));
            return installed == ZELO_OK ? translatePacketCall(result) : installed;
        }
    }
    powerSavingOnPart(port, address);
    // When stopped, the cancel has dropped the file already.
    if (result != kStopped) dropUploadFile();
    return translatePacketCall(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_upload1_continue(void) try {
    TransferState& transfer = state().transfer;
    const int16_t to = linkAddress(transfer.savedAddress);
    stepBackOnePacket();
    const std::string_view remote(transfer.remoteName.data());
    const int16_t result = sendUploadRequest(to, resumeText(remote, transfer.byteCount));
    transfer.uploadResumePending = result != kLinkAccepted;
    if (result == kLinkAccepted) {
        if (!positionUploadFile()) {
            abandonUpload(to);
            powerSavingOnPart(transfer.savedPort, transfer.savedAddress);
            return ZELO_CANNOT_OPEN_LOCAL;
        }
        transfer.open = true;
    }
    return translateResume(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

}  // extern "C"
