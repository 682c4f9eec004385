// Windows only: the pieces of the serial driver that tests check directly.
#pragma once

#include <string>

namespace pendra::platform {

// The name CreateFile needs for a device: a bare "COMn" becomes "\\.\COMn",
// without which COM10 and above are not found; anything else is unchanged.
std::string windowsDevicePath(const std::string& path);

// The reason an open of `path` failed with the system error `error`, in the
// words the POSIX driver uses: "no such device", "in use by another
// program", or the system's own message.
std::string describeOpenError(const std::string& path, unsigned long error);

}  // namespace pendra::platform
