// Windows serial devices are not driven yet: every open fails with a clear
// reason, so the library loads and reports instead of misbehaving. A full
// version opens "\\.\COMn" with CreateFile (no sharing), sets the line with
// SetCommState, bounds waits with SetCommTimeouts and drops DTR with
// EscapeCommFunction before CloseHandle.
#include "serial_port.hpp"

namespace pendra::platform {

OpenResult openSerialPort(const std::string& path, const LineSettings&) {
    OpenResult result;
    result.error = path + ": serial ports are not yet supported on Windows";
    return result;
}

std::string defaultDevicePath(int32_t port) { return "\\\\.\\COM" + std::to_string(port); }

}  // namespace pendra::platform
