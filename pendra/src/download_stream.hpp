// What the link remembers of a download to one terminal (protocol version
// 2): whether the terminal checks the file at its end, whether the caller's
// packets may stream, the frames on their way, and a failure the link could
// not repair, which the caller learns from its next call.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "download_window.hpp"
#include "file_check.hpp"

namespace pendra {

struct DownloadStream {
    // The terminal accepted the file's announce or resume listing version 2
    // (and the link offers it): the end goes with the file's check.
    bool checkedEnd = false;
    // Data packets go as data frames; cleared by any other request to the
    // terminal until the next accepted announce or resume.
    bool mayStream = false;
    // The terminal also listed version 3 (and the link offers it): data
    // frames may go packed.
    bool packing = false;
    FileCheck check;
    DownloadWindow window;
    uint8_t epoch = 0;  // of the latest stream
    std::chrono::milliseconds turnaround{0};
    // What the link could not repair: every data packet and the end request
    // get it until an announce or resume is accepted.
    std::optional<uint8_t> failure;
    // The last request was a data packet that went as a data frame: the
    // caller's acknowledgement of it has nothing to say on the line.
    bool streamedLast = false;

    // The download is over (ended, cancelled, or replaced).
    void clear() {
        checkedEnd = false;
        mayStream = false;
        packing = false;
        check.forget();
        window.stop();
        failure.reset();
        streamedLast = false;
    }
};

// The request texts of a download, as the link tells them apart.
enum class DownloadText { Announce, Resume, Data, End, Cancel, Other };
DownloadText downloadTextKind(std::string_view text);
// The offset of a resume text ("L" name "[" digits "]"); nullopt for any
// other text.
std::optional<uint64_t> resumeOffset(std::string_view text);
// Whether a reply payload is the version list a version-2 terminal puts in
// its acceptance (01, then higher versions, each below 20 hex).
bool isVersionList(std::string_view payload);

}  // namespace pendra
