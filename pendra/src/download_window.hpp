// The host's side of a streamed download: the caller's bytes cut into data
// frames, and a copy of every frame the terminal has not yet reported
// holding, so that what it reports missing, or what goes unanswered, is sent
// again (go back N). At most `size` frames are on their way at a time. With
// packing (version 3) a frame may carry its bytes deflated, with the bytes
// of the stream before it as the dictionary; a frame is made once and sent
// again as it is. Pure bookkeeping, no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace pendra {

class DownloadWindow {
public:
    struct Frame {
        uint32_t offset = 0;  // of its first byte in the file
        std::string bytes;
        uint8_t serial = 0;  // its request serial, to match a negative acknowledgement
        // When packed: the deflate stream of `bytes` after the
        // `dictionary` bytes before them; empty for a frame sent raw.
        std::string packed;
        uint16_t dictionary = 0;
    };

    // A new stream from `offset` (what the terminal holds), numbered
    // `epoch`, with at most `size` frames (1 to 32) unacknowledged, packing
    // the bytes where that makes a frame carry more.
    void start(uint8_t epoch, uint32_t offset, uint8_t size, bool packing = false);
    // Drops every copy and everything queued.
    void stop();
    bool active() const { return active_; }
    uint8_t epoch() const { return epoch_; }
    uint8_t size() const { return size_; }

    // The caller's bytes, after everything queued before: cut into full
    // frames; a remainder waits for more bytes or flush().
    void queue(std::string_view bytes);
    // Makes frames of the remainder, however short.
    void flush();

    // The frame to send now, or nullptr when none is made or the window is
    // full.
    const Frame* nextToSend() const;
    void markSent();
    // Whether a frame that is made waits to go out.
    bool framesWaiting() const { return next_ < frames_.size(); }
    // Nothing queued, nothing unacknowledged.
    bool settled() const { return frames_.empty() && queued_.empty(); }

    // The terminal holds the file's first `stored` bytes. False, changing
    // nothing, for another epoch or a length the frames sent do not end at
    // (a stray or damaged report); true when it moved the window on or
    // repeated where it stands.
    bool held(uint8_t epoch, uint32_t stored);
    // Sends again from the first frame not acknowledged.
    void goBack();
    // Sends again from the frame sent under `serial`, when it is one not
    // acknowledged.
    void goBackTo(uint8_t serial);

    uint32_t acknowledged() const { return acknowledged_; }
    std::size_t unacknowledgedFrames() const { return frames_.size(); }

private:
    void makeFrame();

    bool active_ = false;
    uint8_t epoch_ = 0;
    uint8_t size_ = 1;
    uint8_t nextSerial_ = 0;
    uint32_t acknowledged_ = 0;  // the terminal holds the file up to here
    std::deque<Frame> frames_;   // from acknowledged_ on, not acknowledged
    std::size_t next_ = 0;       // index into frames_ of the next to send
    std::size_t sent_ = 0;       // frames_ from the front that went out at least once
    std::string queued_;         // bytes not in a frame yet
    bool packing_ = false;
    std::string history_;  // the stream's latest bytes in frames: the dictionary
};

}  // namespace pendra
