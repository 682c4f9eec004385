// The terminal's side of the two transfers. Both are stop-and-wait: an
// upload packet is handed out again, unchanged, until the host acknowledges
// it; a download grows packet by packet and may be cut back to an earlier
// offset when the host resumes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "file_names.hpp"

namespace termsim {

// Files larger than this are neither sent nor accepted: the simulator keeps
// a transfer in memory.
inline constexpr std::uint64_t kMaxTransferSize = 64u << 20;

class UploadSession {
public:
    static constexpr std::size_t kPacketSize = 255;

    UploadSession(TerminalFileName source, std::string bytes, std::uint64_t offset);

    const TerminalFileName& source() const { return source_; }
    std::uint64_t position() const { return cursor_; }
    // Where the upload (or its resume) started.
    std::uint64_t start() const { return start_; }
    std::uint64_t size() const { return bytes_.size(); }
    bool atEnd() const { return cursor_ >= bytes_.size(); }
    const std::string& bytes() const { return bytes_; }

    // The packet at the cursor (empty at the end). Asking again before an
    // acknowledgement gives the same bytes.
    std::string_view packet();

    // The packet `ahead` packets past the cursor (0: the one packet() hands
    // out), without handing it out; empty past the end.
    std::string_view packetAhead(std::size_t ahead) const;

    // The host acknowledged the packet last handed out: move past it. An
    // acknowledgement with no packet outstanding changes nothing.
    void acknowledge();

    // True the first time it is called once the whole file has gone out.
    bool reportFinishedOnce();

private:
    TerminalFileName source_;
    std::string bytes_;
    std::uint64_t cursor_;
    std::uint64_t start_;
    std::size_t outstanding_ = 0;
    bool finishReported_ = false;
};

// A transfer request: "NAME" or, to resume, "NAME[offset]" with a decimal
// offset. nullopt when the text ends in "]" but holds no well-formed offset.
struct TransferRequest {
    std::string_view name;
    std::optional<std::uint64_t> offset;
};
std::optional<TransferRequest> parseTransferRequest(std::string_view text);

class DownloadSession {
public:
    explicit DownloadSession(TerminalFileName target) : target_(std::move(target)) {}

    const TerminalFileName& target() const { return target_; }
    const std::string& bytes() const { return bytes_; }

    // Goes back to `offset` to receive again from there. False when the
    // terminal never had that many bytes.
    bool resumeAt(std::uint64_t offset);

    // False, keeping what came before, when the file would outgrow
    // kMaxTransferSize.
    bool append(std::string_view packet);

private:
    TerminalFileName target_;
    std::string bytes_;
};

}  // namespace termsim
