#include "link/poll_window.hpp"

#include <cstdio>

namespace zelo::link {

std::string TimeOfDayText(const platform::LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d", time.hour, time.minute, time.second);
    return text;
}

bool IsWithinWindow(std::string_view start, std::string_view stop, std::string_view now) {
    if (start < stop) return start <= now && now <= stop;
    return now >= start || now <= stop;
}

}  // namespace zelo::link
