#include "dialogs/time_sync_form.hpp"

#include "dialogs/time_fields.hpp"

namespace zelo::dialogs {

TimeSyncFields OpenTimeSync(const core::LocalTime& now) {
    return {now.year, now.month, now.day, now.hour, now.minute, now.second, 0};
}

Refusal CheckTimeSync(const TimeSyncFields& fields) {
    Refusal refusal = FirstRefusal({
        CheckRange(fields.day, 1, 31),
        CheckRange(fields.hour, 0, 23),
        CheckRange(fields.minute, 0, 59),
        CheckRange(fields.month, 1, 12),
        CheckRange(fields.second, 0, 59),
        CheckRange(fields.year, kFirstSyncYear, kLastSyncYear),
        CheckRange(fields.useSetTime, 0, 1),
    });
    if (!refusal.empty()) return refusal;
    const int days = DaysInMonth(fields.year, fields.month);
    if (fields.day > days) {
        return "Month " + std::to_string(fields.month) + " of " + std::to_string(fields.year) +
               " has " + std::to_string(days) + " days.";
    }
    return {};
}

void ConfirmTimeSync(const TimeSyncFields& fields, core::TimeSyncRequest& request) {
    request.hour = fields.hour;
    request.minute = fields.minute;
    request.second = fields.second;
    request.year = fields.year;
    request.month = fields.month;
    request.day = fields.day;
    request.useSetTime = fields.useSetTime == 1;
}

}  // namespace zelo::dialogs
