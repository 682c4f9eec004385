// The connection's names for the program's platform layer (app/platform):
// the clocks and pauses of the polling engine, the ADDR_x folders of the
// transfers and the polled-data file. Tests replace it to drive the clock
// without waiting and to fail a write.
#pragma once

#include "platform/platform.hpp"

namespace zelo::link {

using LinkEnvironment = platform::Platform;
using LocalDateTime = platform::LocalTime;
using PollDataFile = platform::AppendFile;

// The running system's; lives as long as the program.
inline LinkEnvironment& SystemLinkEnvironment() { return platform::System(); }

}  // namespace zelo::link
