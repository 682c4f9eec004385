#include "transfer_files.hpp"

#include <algorithm>
#include <cstring>

#include "library_state.hpp"
#include "zelodll.h"

namespace zelo {

namespace {

// The replacement characters, tried in order; "0" stands in it twice, so a
// name is tried 37 times before the upload gives up.
constexpr std::string_view kNameVariations = "01234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::size_t filePartStart(const char* name, std::size_t length) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < length; ++i)
        if (isPathSeparator(name[i])) start = i + 1;
    return start;
}

}  // namespace

void holdUploadFile(std::unique_ptr<LocalFile> file) {
    TransferState& transfer = state().transfer;
    transfer.uploadFile = std::move(file);
    state().returnSlots[kUploadFileSlot] = transfer.uploadFile ? transfer.uploadFile->token() : 0;
}

void holdDownloadFile(std::unique_ptr<LocalFile> file) {
    TransferState& transfer = state().transfer;
    transfer.downloadFile = std::move(file);
    state().returnSlots[kDownloadFileSlot] =
        transfer.downloadFile ? transfer.downloadFile->token() : 0;
}

void closeDownloadFile() { holdDownloadFile(nullptr); }

bool makeUniqueLocalName(char* name, std::size_t length) {
    FileSystem& files = fileSystem();
    if (!files.exists(name)) return true;

    // Only the file part is varied: a separator, or a character before the
    // name's start, is never overwritten.
    const std::size_t start = filePartStart(name, length);
    if (start >= length) return false;
    std::size_t position = length - 1;
    const void* dot = std::memchr(name + start + 1, '.', length - start - 1);
    if (dot != nullptr)
        position = static_cast<std::size_t>(static_cast<const char*>(dot) - name) - 1;

    for (char replacement : kNameVariations) {
        name[position] = replacement;
        if (!files.exists(name)) return true;
    }
    return false;
}

void stepBackOnePacket() {
    TransferState& transfer = state().transfer;
    transfer.packetCount = std::max(transfer.packetCount - 1, 0);
    transfer.byteCount = std::max(transfer.byteCount - kResumeStepBytes, 0);
}

std::string resumeText(std::string_view name, int32_t offset) {
    std::string text(name);
    text += '[';
    text += std::to_string(offset);
    text += ']';
    return text;
}

}  // namespace zelo
