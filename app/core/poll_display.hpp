#pragma once

#include <string>
#include <string_view>

namespace zelo::core {

// The Polling Data Window's form of one record: "address blank record",
// ending in LF. A record ending in a bare CR shows a blank in its place.
// Lines of 510 characters or more are shown as they are. The polled-data
// file keeps the record exactly as received; this form is for display only.
std::string PollDisplayLine(char address, std::string_view record);

}  // namespace zelo::core
