#include "dialogs/time_fields.hpp"

#include <cstdio>

namespace zelo::dialogs {

TimeParts SplitTimeText(std::string_view text) { return core::ParseTimeText(text); }

std::string FormatTimeText(const TimeParts& time) {
    // Wide enough for three full ints, so a stray value never overruns.
    char formatted[48];
    std::snprintf(formatted, sizeof formatted, "%.2d:%.2d:%.2d", time.hour, time.minute,
                  time.second);
    return formatted;
}

Refusal CheckTime(const TimeParts& time) {
    return FirstRefusal({CheckRange(time.hour, 0, 23), CheckRange(time.minute, 0, 59),
                         CheckRange(time.second, 0, 59)});
}

int DaysInMonth(int year, int month) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12: return 31;
        case 4:
        case 6:
        case 9:
        case 11: return 30;
        case 2: {
            const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
            return leap ? 29 : 28;
        }
        default: return 0;
    }
}

}  // namespace zelo::dialogs
