#pragma once

#include <string>
#include <string_view>

#include "platform/platform.hpp"

namespace zelo::link {

// "hh:mm:ss" of a time of day, the form the window texts are held in.
std::string TimeOfDayText(const platform::LocalTime& time);

// Whether `now` ("hh:mm:ss") lies in the window from `start` to `stop`, both
// ends included. The texts compare as strings, which orders them as times; a
// start equal to or after the stop is a window across midnight, so equal
// ends mean the whole day.
bool IsWithinWindow(std::string_view start, std::string_view stop, std::string_view now);

}  // namespace zelo::link
