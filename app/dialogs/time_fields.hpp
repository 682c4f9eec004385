#pragma once

#include <string>
#include <string_view>

#include "core/value_decoding.hpp"
#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {

// A stored "hh:mm:ss" time as the dialogs show it: three integer edits.
using core::TimeParts;

// Reading a stored time: split at each ':' into hours, minutes and seconds;
// a missing part is 0 ("8" gives 8, 0, 0). The stored text is not changed.
TimeParts SplitTimeText(std::string_view text);
// Writing a time: "%.2d:%.2d:%.2d" (7, 5, 0 gives "07:05:00").
std::string FormatTimeText(const TimeParts& time);

// Hours 0..23, minutes and seconds 0..59.
Refusal CheckTime(const TimeParts& time);

// Days in `month` (1..12) of `year` in the Gregorian calendar; 0 for a month
// outside 1..12.
int DaysInMonth(int year, int month);

}  // namespace zelo::dialogs
