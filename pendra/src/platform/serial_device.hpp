// The local serial device driver, one per platform (serial_port_posix.cpp,
// serial_port_windows.cpp); openSerialPort (open_port.cpp) hands it every
// path that is not a network address.
#pragma once

#include <string>

#include "serial_port.hpp"

namespace pendra::platform {

OpenResult openSerialDevice(const std::string& path, const LineSettings& settings);

}  // namespace pendra::platform
