// Plays the line's speed on a device that is faster than it (a
// pseudo-terminal): bytes take 10 bit times each, both ways at once, as on a
// real full-duplex line.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>

#include "serial_port.hpp"

namespace termsim {

class LinePacer {
public:
    using Clock = std::chrono::steady_clock;

    // `input` is the device the host's bytes come from. While the pacer
    // sleeps (writing at the line's pace, or waiting for a request to have
    // arrived) it keeps reading it, so that what the host sends meanwhile is
    // stamped when it came, not when the terminal got round to reading it.
    LinePacer(int32_t baud, pendra::platform::SerialPort& input) : baud_(baud), input_(input) {}

    // `bytes` came in that started on the line at `since`: the last of them
    // arrives their line time after the first, and after whatever came in
    // before them.
    void arrived(std::size_t bytes, Clock::time_point since);

    // Waits until the bytes that came in have all "arrived".
    void waitForArrival();

    // Writes at the line's pace. False when the device failed.
    bool write(pendra::platform::SerialPort& port, const std::string& bytes);

    // Hands out, oldest first, what came in while the pacer slept, with the
    // time it was seen. False when nothing did.
    bool takeEarlyInput(std::string& bytes, Clock::time_point& seen);

private:
    Clock::duration lineTime(std::size_t bytes) const;
    void sleepUntil(Clock::time_point until);
    void collectInput();

    struct Early {
        std::string bytes;
        Clock::time_point seen;
    };
    // At most this much is taken ahead; the rest waits in the device.
    static constexpr std::size_t kMaxEarlyBytes = 64 * 1024;

    int32_t baud_;
    pendra::platform::SerialPort& input_;
    Clock::time_point inboundDone_{};
    std::deque<Early> early_;
    std::size_t earlyBytes_ = 0;
};

}  // namespace termsim
