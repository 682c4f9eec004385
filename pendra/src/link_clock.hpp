// The time the link reads: steady time in production, a clock a test moves
// by hand so that time-outs, windows and retransmissions run without waiting.
#pragma once

#include <chrono>

namespace pendra {

class LinkClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~LinkClock() = default;
    virtual TimePoint now() const = 0;
    // Silence on purpose (a modem's guard time); never used to wait for input.
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
};

// std::chrono::steady_clock and std::this_thread::sleep_for.
LinkClock& steadyClock();

}  // namespace pendra
