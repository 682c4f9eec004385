#include "transfer_sessions.hpp"

#include <algorithm>

namespace termsim {

UploadSession::UploadSession(TerminalFileName source, std::string bytes, std::uint64_t offset)
    : source_(std::move(source)),
      bytes_(std::move(bytes)),
      cursor_(std::min<std::uint64_t>(offset, bytes_.size())),
      start_(cursor_) {}

std::string_view UploadSession::packet() {
    if (atEnd()) {
        outstanding_ = 0;
        return {};
    }
    const auto left = bytes_.size() - static_cast<std::size_t>(cursor_);
    outstanding_ = std::min(left, kPacketSize);
    return std::string_view(bytes_).substr(static_cast<std::size_t>(cursor_), outstanding_);
}

std::string_view UploadSession::packetAhead(std::size_t ahead) const {
    const std::uint64_t offset = cursor_ + static_cast<std::uint64_t>(ahead) * kPacketSize;
    if (offset >= bytes_.size()) return {};
    return std::string_view(bytes_).substr(static_cast<std::size_t>(offset), kPacketSize);
}

void UploadSession::acknowledge() {
    cursor_ += outstanding_;
    outstanding_ = 0;
}

bool UploadSession::reportFinishedOnce() {
    if (!atEnd() || finishReported_) return false;
    finishReported_ = true;
    return true;
}

std::optional<TransferRequest> parseTransferRequest(std::string_view text) {
    if (text.empty() || text.back() != ']') return TransferRequest{text, std::nullopt};
    const auto open = text.rfind('[');
    const std::string_view digits = open == std::string_view::npos
                                        ? std::string_view{}
                                        : text.substr(open + 1, text.size() - open - 2);
    // 19 digits could overflow; no transfer comes near that size anyway.
    if (digits.empty() || digits.size() > 18) return std::nullopt;
    std::uint64_t offset = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        offset = offset * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return TransferRequest{text.substr(0, open), offset};
}

bool DownloadSession::resumeAt(std::uint64_t offset) {
    if (offset > bytes_.size()) return false;
    bytes_.resize(static_cast<std::size_t>(offset));
    return true;
}

bool DownloadSession::append(std::string_view packet) {
    if (bytes_.size() + packet.size() > kMaxTransferSize) return false;
    bytes_ += packet;
    return true;
}

}  // namespace termsim
