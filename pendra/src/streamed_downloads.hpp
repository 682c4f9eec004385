// Streamed downloads (protocol version 2), the link's side. The caller's
// data packets go out as data frames without waiting for their answers,
// within a window; the link keeps a copy of each until the terminal reports
// holding it and sends again what is reported missing or goes unanswered.
// Anything the link cannot repair is kept and returned from the caller's
// next data packet or end request, and the end request carries the whole
// file's length and CRC-32, which the terminal checks before it keeps the
// file: no fault leaves a wrong file reported as delivered.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "download_stream.hpp"
#include "link_line.hpp"
#include "wire_message.hpp"

namespace pendra {

class StreamedDownloads {
public:
    StreamedDownloads(LinkLine& line, int protocol) : line_(line), protocol_(protocol) {}

    // Before the caller's `request` goes: the link may answer it itself (a
    // data packet streamed, or a failure the stream met), send the checked
    // end in its place, or settle the stream before it goes as in version 1.
    struct Before {
        std::optional<Outcome> answer;
        std::optional<wire::Request> checkedEnd;
    };
    Before before(const wire::Request& request);
    // Learns from the terminal's answer to a request sent stop-and-wait.
    void after(const wire::Request& request, Outcome& outcome, std::chrono::milliseconds took,
               std::size_t requestBytes);
    // The last request to `address` was a data packet that went as a data
    // frame: the caller's acknowledgement of it has nothing to say.
    bool streamedLast(char address) const { return of(address).streamedLast; }
    // Whether the terminal's download may join a group: its announce was
    // accepted listing version 3 and nothing went to it since.
    bool mayGroup(char address) const;
    // The terminal did not answer its join to a group (`status`): every data
    // packet and the end fail with it until a resume or announce is accepted.
    void joinUnanswered(char address, uint8_t status) { of(address).failure = status; }
    // A group download to the terminal ended: kept (its checked end
    // accepted), or not, when the download is left open at `prefix` (the
    // file's bytes it was last known to hold) for the caller to resume there
    // with the check of those bytes.
    void groupEnded(char address, bool kept, std::string_view prefix);
    // The line was opened again: every download is over.
    void clear();

private:
    struct StreamNews {
        bool advanced = false;  // the terminal holds more
        bool setback = false;   // frames reported missing or damaged
    };
    DownloadStream& of(char address) { return streams_[static_cast<uint8_t>(address)]; }
    const DownloadStream& of(char address) const { return streams_[static_cast<uint8_t>(address)]; }
    Outcome streamedData(char address, const std::string& bytes);
    bool pumpDownload(char address, bool untilSettled);
    bool settleDownload(char address);
    // Takes the terminal's answers to data frames until `until`, or only
    // until news when `untilNews`. False when the stream failed.
    bool takeDownloadReplies(char address, LinkLine::TimePoint until, bool untilNews,
                             StreamNews& news);
    bool streamFailed(char address, uint8_t status);
    void endStream(char address);

    LinkLine& line_;
    int protocol_;
    std::array<DownloadStream, 256> streams_;
    std::optional<char> streaming_;  // the terminal a download streams to
};

}  // namespace pendra
