// Windows only: the pieces of the serial driver that tests check directly.
#pragma once

#include <string>

#include "serial_port.hpp"

namespace pendra::platform {

// The name CreateFile needs for a device: a bare "COMn" becomes "\\.\COMn",
// without which COM10 and above are not found; anything else is unchanged.
std::string windowsDevicePath(const std::string& path);

// The reason for an open that CreateFile refused with the system error
// `error`: no such device, in use (Windows refuses a second open of a COM
// port as "access denied"), or Other for the system's own message.
OpenFailure openFailureFromError(unsigned long error);

}  // namespace pendra::platform
