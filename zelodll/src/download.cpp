// Downloads: files from the host to a terminal. The host announces the file
// by name, sends its contents in packets of at most 120 bytes, each a request
// the terminal acknowledges, and ends with the end request.
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>

#include "c_boundary.hpp"
#include "download_files.hpp"
#include "download_requests.hpp"
#include "library_state.hpp"
#include "local_file_error.hpp"
#include "power_saving.hpp"
#include "single_request.hpp"
#include "transfer_files.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

// The whole-file download builds resume requests from its remote name in a
// 256-byte buffer, so the name leaves room for "L" and the offset.
constexpr std::size_t kMaxWholeDownloadRemoteName = kDataRequestSize - 2 - kResumeSuffixRoom;
// The stepwise download keeps both names in 100-byte buffers.
constexpr std::size_t kMaxSavedName = ZELO_REMOTE_NAME_SIZE - 1;

// Not link results: the caller stopped the transfer, or the local file could
// not be read or positioned (the terminal was told to cancel).
constexpr int32_t kStopped = kStoppedResult;
constexpr int32_t kLocalFileFault = -1;

// What a failed packet attempt of the stepwise call counts as.
constexpr int32_t kFailedAttempt = 1;

struct FileChunk {
    std::array<char, kDownloadPacketBytes> bytes{};
    int64_t count = -1;  // 0 at the end of the file, -1 when it cannot be read

    std::string_view view() const { return {bytes.data(), static_cast<std::size_t>(count)}; }
};

FileChunk readChunk() {
    FileChunk chunk;
    LocalFile* file = state().transfer.downloadFile.get();
    if (file != nullptr) chunk.count = file->read(chunk.bytes.data(), kDownloadPacketBytes);
    return chunk;
}

std::string_view nameOf(const char* name, std::size_t length) {
    return name == nullptr ? std::string_view{} : std::string_view{name, length};
}

void saveName(std::array<char, ZELO_REMOTE_NAME_SIZE>& saved, std::string_view name) {
    saved.fill(0);
    std::copy(name.begin(), name.end(), saved.begin());
}

// The end request; the whole-file call acknowledges it whatever its result.
[[nodiscard]] int32_t endWholeFile(int16_t to) {
    const int16_t result = sendDownloadRequest<128>(to, "Z");
    acknowledgeDownload(to);
    closeDownloadFile();
    return result;
}

// A local file that fails in its middle must not look like a complete one to
// the terminal: the transfer is cancelled rather than ended. Called straight
// after the failed read or seek, whose reason is kept for the operator.
[[nodiscard]] int32_t abandonDownload(int16_t to) {
    noteLocalFileError(state().transfer.downloadFileName, "cannot read");
    sendDownloadCancel(to);
    closeDownloadFile();
    return kLocalFileFault;
}

// Sends the open download file until its end, a stop, a local file fault, or
// the retries run out. Returns the last link result, kStopped or
// kLocalFileFault.
[[nodiscard]] int32_t sendWholeFile(int32_t port, int32_t address, std::string_view remote) {
    LibraryState& s = state();
    TransferState& transfer = s.transfer;
    const int16_t to = linkAddress(address);
    int32_t retriesLeft = s.retryTimes;
    for (;;) {
        if (s.stopRequested()) {
            HM_cancel_download(port, address);
            return kStopped;
        }
        const FileChunk chunk = readChunk();
        if (chunk.count < 0) return abandonDownload(to);
        if (chunk.count == 0) return endWholeFile(to);

        transfer.byteCount += static_cast<int32_t>(chunk.count);
        const int16_t result = sendDataPacket(to, chunk.view());
        // The generic request's two "accepted" results both take a packet.
        if (result == PENDRA_ACCEPTED || result == PENDRA_DONE) {
            transfer.packetCount += 1;
            acknowledgeDownload(to);
            continue;
        }
        if (--retriesLeft <= 0) {
            closeDownloadFile();
            return result;
        }
        stepBackOnePacket();
        // Until the terminal takes a resume, what it holds past the offset is
        // unknown: no packet may follow, and the end request would commit a
        // short or doubled file. The resume is asked again instead (it only
        // sets the terminal's length, so a repeat is harmless), and when the
        // retries run out the terminal is told to drop the file.
        for (;;) {
            const int16_t resumed = sendDownloadRequest<kDataRequestSize>(
                to, "L", resumeText(remote, transfer.byteCount));
            if (resumed == PENDRA_ACCEPTED) break;
            if (s.stopRequested()) {
                HM_cancel_download(port, address);
                return kStopped;
            }
            if (--retriesLeft <= 0) {
                sendDownloadCancel(to);
                closeDownloadFile();
                return resumed;
            }
        }
        if (!transfer.downloadFile->seek(transfer.byteCount)) return abandonDownload(to);
    }
}

// Asks the terminal to take the file again from the byte counter. On
// acceptance the transfer is open again; otherwise power saving goes back on.
[[nodiscard]] int16_t sendResume() {
    TransferState& transfer = state().transfer;
    const int16_t to = linkAddress(transfer.savedAddress);
    HM_time_delay(20);
    const std::string_view remote(transfer.remoteName.data());
    const int16_t result =
        sendDownloadRequest<128>(to, "L", resumeText(remote, transfer.byteCount));
    if (result == kRequestAccepted) {
        HM_time_delay(2);
        transfer.open = true;
    } else {
        powerSavingOnPart(transfer.savedPort, transfer.savedAddress);
    }
    return result;
}

// Goes one packet back and asks the terminal to take the file again from
// there. `fileFault` is set, and nothing sent, when the local file cannot be
// positioned.
[[nodiscard]] int16_t resumeDownload(bool& fileFault) {
    TransferState& transfer = state().transfer;
    fileFault = false;
    stepBackOnePacket();
    if (transfer.downloadFile && !transfer.downloadFile->seek(transfer.byteCount)) {
        fileFault = true;
        return 0;
    }
    return sendResume();
}

// Ends a stepwise download: the file is closed (unless a stop's cancel closed
// it), power saving goes back on and no packet call is taken any more.
int32_t finishStepwise(int32_t result) {
    TransferState& transfer = state().transfer;
    if (result != kStopped) closeDownloadFile();
    powerSavingOnPart(transfer.savedPort, transfer.savedAddress);
    transfer.open = false;
    return translateDownloadEnd(result);
}

int32_t translateDownloadStart(int32_t result) {
    return translate(result, {PENDRA_REPLY}, {{PENDRA_ILLEGAL, ZELO_ILLEGAL_COMMAND}});
}

int32_t translateResume(int32_t result) {
    return translate(
        result, {PENDRA_ACCEPTED},
        {{PENDRA_MORE_DATA, ZELO_ILLEGAL_COMMAND}, {PENDRA_DAMAGED_REPLY, ZELO_BAD_BLOCK}});
}

}  // namespace

bool findLocalFile(const char* name) {
    if (name == nullptr) return false;
    if (fileSystem().exists(name)) return true;
    noteLocalFileError(name, "cannot open for reading");
    return false;
}

int64_t holdLocalFileFrom(const char* name, int64_t start) {
    auto file = fileSystem().open(name, OpenMode::ExistingRead);
    // Remembered for a read that fails later.
    state().transfer.downloadFileName = name;
    if (!file) {
        noteLocalFileError(name, "cannot open for reading");
        return -1;
    }
    const int64_t size = file->size();
    if (start < 0 || size < start || !file->seek(start)) {
        noteLocalFileError(name, "cannot read");
        return -1;
    }
    holdDownloadFile(std::move(file));
    return size;
}

}  // namespace zelo

using namespace zelo;

extern "C" {

int32_t ZELO_API HM_download(int32_t port, int32_t address, const char* local_name,
                             const char* remote_name) try {
    clearLocalFileError();
    const std::size_t remoteLength = boundedLength(remote_name, kMaxWholeDownloadRemoteName);
    if (remoteLength > kMaxWholeDownloadRemoteName) return ZELO_UNKNOWN_RESPONSE;

    TransferState& transfer = state().transfer;
    transfer.packetCount = 0;
    transfer.byteCount = 0;
    state().clearStop();
    if (!findLocalFile(local_name)) return ZELO_NO_SUCH_FILE;
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;

    const std::string_view remote = nameOf(remote_name, remoteLength);
    int32_t result = sendDownloadRequest<kDataRequestSize>(linkAddress(address), "L", remote);
    if (result == kRequestAccepted) {
        HM_time_delay(2);
        // As in the stepwise start: the terminal is not told, and power
        // saving stays off.
        if (holdLocalFileFrom(local_name, 0) < 0) return ZELO_NO_SUCH_FILE;
        result = sendWholeFile(port, address, remote);
    }
    powerSavingOnPart(port, address);
    return translateDownloadEnd(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_download1(int32_t port, int32_t address, const char* local_name,
                              const char* remote_name, int32_t* offset) try {
    clearLocalFileError();
    const std::size_t localLength = boundedLength(local_name, kMaxSavedName);
    const std::size_t remoteLength = boundedLength(remote_name, kMaxSavedName);
    if (localLength > kMaxSavedName || remoteLength > kMaxSavedName) return ZELO_UNKNOWN_RESPONSE;

    state().clearStop();
    if (!findLocalFile(local_name)) return ZELO_NO_SUCH_FILE;
    if (!powerSavingOffPart(port, address)) return ZELO_POWER_SAVING_ON;

    TransferState& transfer = state().transfer;
    transfer.packetCount = 0;
    transfer.byteCount = 0;
    const std::string_view remote = nameOf(remote_name, remoteLength);
    saveName(transfer.secondName, nameOf(local_name, localLength));
    saveName(transfer.remoteName, remote);

    const int16_t result = sendDownloadRequest<128>(linkAddress(address), "L", remote);
    transfer.savedPort = port;
    transfer.savedAddress = static_cast<char>(address);
    if (result == kRequestAccepted) {
        HM_time_delay(2);
        // A file that cannot be opened or positioned: the terminal is not
        // told, and power saving stays off.
        const int64_t size = holdLocalFileFrom(local_name, offset != nullptr ? *offset : 0);
        if (size < 0) return ZELO_NO_SUCH_FILE;
        if (offset != nullptr)
            *offset =
                static_cast<int32_t>(std::min<int64_t>(size, std::numeric_limits<int32_t>::max()));
        transfer.open = true;
        return ZELO_OK;
    }
    powerSavingOnPart(port, address);
    return translateDownloadStart(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_download2(int32_t* byte_count, int32_t* packet_count) try {
    LibraryState& s = state();
    TransferState& transfer = s.transfer;
    const int16_t to = linkAddress(transfer.savedAddress);
    // With retry times of 1 or less the call still makes one attempt.
    const int32_t attempts = std::max(s.retryTimes - 1, 1);

    int32_t result = kFailedAttempt;
    // Set while the terminal has not taken a resume: what it holds past the
    // offset is then unknown, so the attempt asks for the resume again
    // rather than send a packet it might append twice.
    bool resumePending = false;
    for (int32_t attempt = 0; attempt < attempts; ++attempt) {
        if (s.stopRequested()) {
            HM_cancel_download(transfer.savedPort, transfer.savedAddress);
            result = kStopped;
            break;
        }
        if (!transfer.open && !resumePending) return ZELO_NO_OPEN_DOWNLOAD;
        if (resumePending) {
            resumePending = sendResume() != PENDRA_ACCEPTED;
            result = kFailedAttempt;
            continue;
        }

        const FileChunk chunk = readChunk();
        if (chunk.count < 0) {
            result = abandonDownload(to);
            break;
        }
        if (chunk.count == 0) {
            result = sendDownloadRequest<128>(to, "Z");
            if (result == kRequestAccepted) acknowledgeDownload(to);
            break;
        }
        const int16_t sent = sendDataPacket(to, chunk.view());
        if (sent == kRequestAccepted) {
            transfer.byteCount += static_cast<int32_t>(chunk.count);
            transfer.packetCount += 1;
            if (byte_count != nullptr) *byte_count = transfer.byteCount;
            if (packet_count != nullptr) *packet_count = transfer.packetCount;
            acknowledgeDownload(to);
            return ZELO_MORE;
        }
        HM_time_delay(20);
        bool fileFault = false;
        resumePending = resumeDownload(fileFault) != PENDRA_ACCEPTED;
        if (fileFault) {
            result = abandonDownload(to);
            break;
        }
        result = kFailedAttempt;
    }
    // A transfer given up with a resume outstanding is dropped on the
    // terminal, so no part of it can be committed later.
    if (resumePending && result != kStopped) sendDownloadCancel(to);
    return finishStepwise(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

int32_t ZELO_API HM_download1_continue(void) try {
    bool fileFault = false;
    const int16_t result = resumeDownload(fileFault);
    if (fileFault) {
        return finishStepwise(abandonDownload(linkAddress(state().transfer.savedAddress)));
    }
    return translateResume(result);
} catch (...) {
    return zelo::failedInsideLibrary();
}

}  // extern "C"
