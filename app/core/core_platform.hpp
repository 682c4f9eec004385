// The core's names for the program's platform layer (app/platform).
#pragma once

#include "platform/platform.hpp"

namespace zelo::core {

using platform::LocalTime;
using platform::Platform;
using platform::ReadResult;
using platform::SystemPlatform;
using platform::WriteFileAtomically;

}  // namespace zelo::core
