// Uploads (terminal to host), downloads (host to terminal) and polling. An
// acknowledgement moves past the upload packet or poll record last handed
// out; until it comes, the same one is handed out again.
#include "escaped_decoding.hpp"
#include "reply_status.hpp"
#include "simulated_terminal.hpp"

namespace termsim {

using pendra::wire::Reply;

namespace {

bool sameFile(const TerminalFileName& a, const TerminalFileName& b) {
    return a.drive == b.drive && equalsIgnoringCase(a.name, b.name);
}

std::string qualifiedName(const TerminalFileName& file) {
    return file.drive == Drive::Ems ? "C:" + file.name : file.name;
}

}  // namespace

Reply SimulatedTerminal::uploadRequest(std::string_view text) {
    const auto request = parseTransferRequest(text);
    const auto file = request ? parseTerminalFileName(request->name, false) : std::nullopt;
    const FileStore* store = file ? storeFor(file->drive) : nullptr;
    auto bytes = store ? store->read(file->name, kMaxTransferSize) : std::nullopt;
    const std::uint64_t offset = request ? request->offset.value_or(0) : 0;
    if (!bytes || offset > bytes->size()) return statusReply(status::kRefused);
    upload_.emplace(*file, std::move(*bytes), offset);
    if (awaiting_ == Awaiting::UploadPacket) awaiting_ = Awaiting::Nothing;
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::nextPacket() {
    if (!upload_) return statusReply(status::kRefused);
    const std::string_view packet = upload_->packet();
    if (packet.empty()) {
        if (upload_->reportFinishedOnce()) {
            rememberLatest(settings_.filesSent, qualifiedName(upload_->source()));
        }
        if (awaiting_ == Awaiting::UploadPacket) awaiting_ = Awaiting::Nothing;
        return statusReply(status::kEnd);
    }
    awaiting_ = Awaiting::UploadPacket;
    return textReply(std::string(packet));
}

std::optional<std::string> SimulatedTerminal::uploadPacketAhead(std::size_t ahead) const {
    if (!upload_) return std::nullopt;
    return std::string(upload_->packetAhead(ahead));
}

Reply SimulatedTerminal::cancelUpload() {
    upload_.reset();
    if (awaiting_ == Awaiting::UploadPacket) awaiting_ = Awaiting::Nothing;
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::downloadAnnounce(std::string_view text) {
    const auto request = parseTransferRequest(text);
    const auto file = request ? parseTerminalFileName(request->name, false) : std::nullopt;
    if (!file || storeFor(file->drive) == nullptr || file->drive == Drive::Flash) {
        return statusReply(status::kIllegalDownload);
    }
    const std::uint64_t offset = request->offset.value_or(0);
    if (request->offset && download_ && sameFile(download_->target(), *file)) {
        return statusReply(download_->resumeAt(offset) ? status::kAccepted
                                                       : status::kIllegalDownload);
    }
    if (offset != 0) return statusReply(status::kIllegalDownload);
    download_.emplace(*file);
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::downloadPacket(std::string_view escaped) {
    if (!download_) return statusReply(status::kIllegalDownload);
    const auto bytes = pendra::wire::unescaped(escaped);
    if (!bytes || !download_->append(*bytes)) return statusReply(status::kIllegalDownload);
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::downloadEnd() {
    if (!download_) return statusReply(status::kIllegalDownload);
    const TerminalFileName target = download_->target();
    const bool written = storeFor(target.drive)->write(target.name, download_->bytes());
    download_.reset();
    if (!written) return statusReply(status::kRefused);
    rememberLatest(settings_.filesReceived, qualifiedName(target));
    return statusReply(status::kAccepted);
}

Reply SimulatedTerminal::cancelDownload() {
    download_.reset();
    return statusReply(status::kAccepted);
}

// Every record goes out as "record" (1): the host files records that come
// with the "more to come" number (2) as "no data", so they would be lost.
Reply SimulatedTerminal::poll() {
    if (records_.empty()) return statusReply(status::kEnd);
    awaiting_ = Awaiting::PollRecord;
    return textReply(records_.front());
}

Reply SimulatedTerminal::acknowledge() {
    if (awaiting_ == Awaiting::UploadPacket && upload_) upload_->acknowledge();
    if (awaiting_ == Awaiting::PollRecord) {
        records_.consumeFront();
        keepRecords();
    }
    awaiting_ = Awaiting::Nothing;
    return statusReply(status::kAccepted);
}

}  // namespace termsim
