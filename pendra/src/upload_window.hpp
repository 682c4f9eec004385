// The host's side of a streamed upload: the packets the terminal sent ahead
// of the caller's next Pendra_ESC_Y, held by serial until asked for. Only a
// frame within the window past the serial the caller will ask for next is
// held; anything else (a repeat of a packet already handed out, a stray) is
// not. Pure bookkeeping, no I/O.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "wire_message.hpp"

namespace pendra {

class UploadWindow {
public:
    bool active() const { return active_; }
    uint8_t size() const { return size_; }

    // A new stream: nothing held, `size` packets (1 to kMaxUploadWindow) in
    // flight at most.
    void start(uint8_t size);
    // Drops everything held; the next stream starts afresh.
    void stop();

    // A packet under `serial` while the caller will next ask for `next`.
    // False when it is outside the window, so not held.
    bool hold(uint8_t serial, uint8_t next, wire::Reply reply);
    // The packet under `serial`, taken out, if held.
    std::optional<wire::Reply> take(uint8_t serial);

    // The window for a line whose turnaround beyond the frames' own line
    // time is `turnaroundMs`, with a full packet frame taking `frameMs`:
    // enough frames to cover a turnaround and an acknowledgement, and two
    // to spare, within 2 and kMaxUploadWindow.
    static uint8_t sizeFor(long long turnaroundMs, long long frameMs);

private:
    bool active_ = false;
    uint8_t size_ = 1;
    std::array<std::optional<wire::Reply>, 128> held_{};
};

}  // namespace pendra
