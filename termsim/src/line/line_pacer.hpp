// Plays the line's speed on a device that is faster than it (a
// pseudo-terminal): bytes take 10 bit times each, both ways at once, as on a
// real full-duplex line.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "serial_port.hpp"

namespace termsim {

class LinePacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit LinePacer(int32_t baud) : baud_(baud) {}

    // A read of the device returned at `now`: the earliest moment at which
    // what it brought may have started on the line. While the terminal was
    // writing it was not reading, and what the host sent meanwhile was
    // already on its way, as both directions run at once on the real line.
    Clock::time_point readReturned(Clock::time_point now);

    // `bytes` came in that could have started on the line at `since`: the
    // last of them arrives their line time after the first, and after
    // whatever came in before them.
    void arrived(std::size_t bytes, Clock::time_point since);

    // Waits until the bytes that came in have all "arrived".
    void waitForArrival() const;

    // Writes at the line's pace. False when the device failed.
    bool write(pendra::platform::SerialPort& port, const std::string& bytes);

private:
    Clock::duration lineTime(std::size_t bytes) const;

    int32_t baud_;
    Clock::time_point inboundDone_{};
    // When the terminal began writing, until the next read: max when no
    // write came between two reads.
    Clock::time_point writingSince_ = Clock::time_point::max();
};

}  // namespace termsim
