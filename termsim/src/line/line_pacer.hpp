// Plays the line's speed on a device that is faster than it (a
// pseudo-terminal): bytes take 10 bit times each, both ways.
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

    // `bytes` just came in: on the real line the last of them would arrive
    // their line time after the first.
    void arrived(std::size_t bytes);

    // Waits until the bytes that came in have all "arrived".
    void waitForArrival() const;

    // Writes at the line's pace. False when the device failed.
    bool write(pendra::platform::SerialPort& port, const std::string& bytes);

private:
    Clock::duration lineTime(std::size_t bytes) const;

    int32_t baud_;
    Clock::time_point inboundDone_{};
};

}  // namespace termsim
