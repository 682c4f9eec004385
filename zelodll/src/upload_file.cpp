#include "upload_file.hpp"

#include <array>
#include <memory>

#include "crc.hpp"
#include "library_state.hpp"
#include "local_file_error.hpp"
#include "transfer_files.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

constexpr int64_t kCopyChunk = 64 * 1024;

// Appends the whole of `from` to `to`; the count copied, -1 on a failure.
int64_t copyAll(LocalFile& from, LocalFile& to) {
    std::array<unsigned char, kCopyChunk> chunk;
    int64_t copied = 0;
    for (;;) {
        const int64_t got = from.read(chunk.data(), kCopyChunk);
        if (got == 0) return copied;
        if (got < 0 || !to.write(chunk.data(), got)) return -1;
        copied += got;
    }
}

uint32_t lowFirst(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Whether the file from `start` on has the CRC-32 and length of `check`:
// read back, so that the check covers what really landed in the file.
bool matchesCheck(LocalFile& file, int64_t start, const unsigned char* check) {
    if (!file.seek(start)) return false;
    std::array<unsigned char, kCopyChunk> chunk;
    uint32_t crc = 0;
    uint64_t length = 0;
    for (;;) {
        const int64_t got = file.read(chunk.data(), kCopyChunk);
        if (got < 0) return false;
        if (got == 0) break;
        crc = pendra::wire::crc32(chunk.data(), static_cast<std::size_t>(got), crc);
        length += static_cast<uint64_t>(got);
    }
    return crc == lowFirst(check) && static_cast<uint32_t>(length) == lowFirst(check + 4) &&
           length <= UINT32_MAX;
}

void forgetNames(TransferState& transfer) {
    transfer.uploadTemporary.clear();
    transfer.uploadDestination.clear();
}

}  // namespace

std::string uploadTemporaryName(const std::string& destination) {
    return destination + ".zelo-part";
}

bool beginUploadFile(const std::string& destination, int32_t saveMode) {
    TransferState& transfer = state().transfer;
    FileSystem& files = fileSystem();
    dropUploadFile();
    transfer.uploadAppendBase = 0;

    std::unique_ptr<LocalFile> earlier;
    if (saveMode == ZELO_SAVE_APPEND && files.exists(destination.c_str())) {
        earlier = files.open(destination.c_str(), OpenMode::ExistingRead);
        if (!earlier) {
            noteLocalFileError(destination, "cannot open for reading");
            return false;
        }
    }
    const std::string temporary = uploadTemporaryName(destination);
    auto file = files.open(temporary.c_str(), OpenMode::CreateReadWrite);
    if (!file) {
        noteLocalFileError(destination, "cannot open for writing");
        return false;
    }
    if (earlier) {
        // Appending works on a copy, so that the earlier contents stay as
        // they were until the whole upload has arrived.
        const int64_t copied = copyAll(*earlier, *file);
        if (copied < 0) {
            noteLocalFileError(destination, "cannot copy for appending");
            file.reset();
            files.remove(temporary.c_str());
            return false;
        }
        transfer.uploadAppendBase = copied;
    }
    transfer.uploadTemporary = temporary;
    transfer.uploadDestination = destination;
    holdUploadFile(std::move(file));
    return true;
}

int32_t installUploadFile(const unsigned char* check) {
    TransferState& transfer = state().transfer;
    if (!transfer.uploadFile) return ZELO_CANNOT_OPEN_LOCAL;
    if (check != nullptr && !matchesCheck(*transfer.uploadFile, transfer.uploadAppendBase, check)) {
        dropUploadFile();
        transfer.localFileError =
            transfer.localName.data() + std::string(": does not match the terminal's file");
        return ZELO_BAD_BLOCK;
    }
    if (!transfer.uploadFile->sync()) {
        noteLocalFileError(transfer.uploadDestination, "cannot write");
        dropUploadFile();
        return ZELO_CANNOT_OPEN_LOCAL;
    }
    holdUploadFile(nullptr);  // closed before it is moved, as Windows needs
    FileSystem& files = fileSystem();
    if (!files.replace(transfer.uploadTemporary.c_str(), transfer.uploadDestination.c_str())) {
        noteLocalFileError(transfer.uploadDestination, "cannot replace");
        files.remove(transfer.uploadTemporary.c_str());
        forgetNames(transfer);
        return ZELO_CANNOT_OPEN_LOCAL;
    }
    forgetNames(transfer);
    return ZELO_OK;
}

void dropUploadFile() {
    TransferState& transfer = state().transfer;
    holdUploadFile(nullptr);
    if (!transfer.uploadTemporary.empty()) fileSystem().remove(transfer.uploadTemporary.c_str());
    forgetNames(transfer);
}

}  // namespace zelo
