// The serial device behind one small interface: POSIX termios in
// serial_port_posix.cpp, Windows in serial_port_windows.cpp. Protocol code
// never sees a descriptor or an #ifdef.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace pendra::platform {

struct LineSettings {
    int32_t baud = 9600;
    char parity = 'N';  // 'N', 'O' or 'E'
    int stopBits = 1;   // 1 or 2
};

enum class ReadStatus {
    Data,      // at least one byte read
    TimedOut,  // nothing arrived in time
    Failed,    // the device failed or went away (a USB adapter pulled out)
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Writes every byte, waiting at most `timeoutMs` in all for room in the
    // output queue. False when the device failed or the time ran out.
    virtual bool write(const uint8_t* data, std::size_t length, int timeoutMs) = 0;

    // Waits at most `timeoutMs` for input and reads what has arrived, at
    // most `capacity` bytes; `received` holds the count.
    virtual ReadStatus read(uint8_t* data, std::size_t capacity, int timeoutMs,
                            std::size_t& received) = 0;

    // Waits until every written byte has left.
    virtual bool drain() = 0;

    // Drops bytes received and not yet read (never bytes still to be sent).
    virtual void discardInput() = 0;
};

// Why a serial device would not open. Each platform maps its own error codes
// to these, so the operator reads the same reasons everywhere; the numbers
// cross the C interface (Pendra_last_error_text) and never change.
//   NoSuchDevice      POSIX ENOENT, ENXIO, ENODEV; Win32 ERROR_FILE_NOT_FOUND,
//                     ERROR_PATH_NOT_FOUND
//   PermissionDenied  POSIX EACCES, EPERM; Win32 ERROR_ACCESS_DENIED where the
//                     port is known to be free
//   InUse             another program holds it: POSIX EBUSY, a held flock or
//                     UUCP lock; Win32 ERROR_SHARING_VIOLATION, or
//                     ERROR_ACCESS_DENIED on a port that exists
//   NotSerialDevice   it opened but is no serial line (not a tty; Win32
//                     GetCommState fails)
//   SettingsRefused   the device refused the speed, parity or stop bits
//   Other             anything else: the system's own text says what
//   LineLost          not an open failure: the device opened, then a read or
//                     write failed (a USB adapter pulled out, a device server
//                     restarted), and the link closed it
enum class OpenFailure : int32_t {
    None = 0,
    NoSuchDevice = 1,
    PermissionDenied = 2,
    InUse = 3,
    NotSerialDevice = 4,
    SettingsRefused = 5,
    Other = 6,
    LineLost = 7,
};

struct OpenResult {
    std::unique_ptr<SerialPort> port;          // null on failure
    OpenFailure failure = OpenFailure::Other;  // None when port is set
    long holderPid = 0;                        // InUse: the holder's process, 0 when unknown
    std::string error;                         // why, in words with the path (describeOpenFailure)
};

// The operator's sentence for a failed open: the device path, the reason and
// what to do about it. `detail` is the system's own text, used for Other and
// SettingsRefused.
std::string describeOpenFailure(const std::string& path, OpenFailure failure, long holderPid,
                                const std::string& detail);

// Opens a serial device for this process alone, in raw mode with 8 data
// bits and the given speed, parity and stop bits. A path
// rfc2217://HOST:PORT or socket://HOST:PORT opens a line over the network
// instead (network_port.hpp; the far end keeps it for one client). Another open of the same
// device, from this or any other program that honours the usual locks,
// fails until this port is destroyed. Destroying the port drains its
// output, drops DTR and releases the locks.
OpenResult openSerialPort(const std::string& path, const LineSettings& settings);

// The device path that a COM port number stands for when nothing overrides it.
std::string defaultDevicePath(int32_t port);

}  // namespace pendra::platform
