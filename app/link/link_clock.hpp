#pragma once

#include <functional>

namespace zelo::link {

// The PC's local date and time as the clock-setting command sends it.
struct ClockReading {
    int year = 0;   // e.g. 2026
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

using LinkClock = std::function<ClockReading()>;

// The system's local time now.
ClockReading SystemLocalTime();

}  // namespace zelo::link
