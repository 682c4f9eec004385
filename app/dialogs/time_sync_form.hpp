#pragma once

#include "core/core_platform.hpp"
#include "core/model_records.hpp"
#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {

inline constexpr int kFirstSyncYear = 1990;
inline constexpr int kLastSyncYear = 2038;

// The time and date dialog's fields.
struct TimeSyncFields {
    int year = kFirstSyncYear;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int useSetTime = 0;  // 0 the PC's clock, 1 the time given here
};

// The dialog's start: the PC's clock read once, "system time" chosen.
TimeSyncFields OpenTimeSync(const core::LocalTime& now);

// The ranges in the order the dialog exchanges its fields (day, hour,
// minute, month, second, year), then the day against its month: 31
// February, or 29 February outside a leap year, is no date.
Refusal CheckTimeSync(const TimeSyncFields& fields);

// OK, after the check: the clock-setting command's time.
void ConfirmTimeSync(const TimeSyncFields& fields, core::TimeSyncRequest& request);

}  // namespace zelo::dialogs
