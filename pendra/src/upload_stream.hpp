// Streamed uploads (protocol version 2), the link's side. Once a terminal
// that speaks version 2 accepted an upload, the caller's Pendra_ESC_Y asks
// for a window of packets: the terminal sends the one asked for and goes on
// with the next ones, which the link holds (UploadWindow) and hands out one
// per call. A packet that does not come in time is asked for, which also
// tells the terminal to go on from it.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "link_line.hpp"
#include "peer_serials.hpp"
#include "upload_window.hpp"
#include "wire_message.hpp"

namespace pendra {

class UploadStream {
public:
    // The terminal accepted an upload and speaks version 2; `turnaround` is
    // the time it and the line took beyond the two frames' own line time,
    // which sizes the window.
    // `packing`: it also speaks version 3, so packets may come packed.
    void accepted(std::chrono::milliseconds turnaround, bool packing = false) {
        mayStream_ = true;
        turnaround_ = turnaround;
        packing_ = packing;
        history_.clear();
        handedOutBytes_ = 0;
    }
    bool mayStream() const { return mayStream_; }

    // Any other request ends the stream: the terminal stops sending ahead
    // when it sees the request, and what it sent before comes in before the
    // reply, to be skipped as stray. `uploadOver` when the request was no
    // packet request at all: the next packets go stop-and-wait.
    void stop(bool uploadOver);

    // The packet for the caller's Pendra_ESC_Y `request`, under the serial
    // after the last reply's.
    Outcome packet(LinkLine& line, PeerSerials& serials, const wire::Request& request);

    // The caller acknowledged the packet handed out last: its bytes are
    // part of what later packed packets refer to.
    void acknowledged();

private:
    // Holds a streamed packet frame when it belongs to the window.
    void offer(const wire::Frame& frame, const PeerSerials& serials);
    // Takes what has arrived without waiting.
    void collectArrived(LinkLine& line, char address, const PeerSerials& serials);
    // Waits at most `within` for the packet under `serial` to come ahead.
    std::optional<wire::Reply> awaitStreamed(LinkLine& line, char address,
                                             const PeerSerials& serials, uint8_t serial,
                                             std::chrono::milliseconds within);

    // A packed packet unpacked against what the caller was handed, or
    // damaged (253) when it refers to anything else.
    void unpackInto(Outcome& outcome) const;

    bool mayStream_ = false;
    bool packing_ = false;
    // The upload's bytes the caller acknowledged since its acceptance: the
    // last of them are the dictionary of the next packed packet.
    std::string history_;
    uint64_t handedOutBytes_ = 0;
    bool handedOutCounted_ = false;
    std::chrono::milliseconds turnaround_{0};  // measured on the acceptance
    UploadWindow window_;
    // The last streamed packet handed to the caller, until acknowledged:
    // asked for again before that, it is handed out again.
    std::optional<wire::Reply> handedOut_;
};

}  // namespace pendra
