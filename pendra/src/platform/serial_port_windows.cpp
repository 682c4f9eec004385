// Windows serial devices: CreateFile on \\.\COMn without sharing (Windows
// opens a COM port for one program at a time), the line set with a DCB, and
// bounded waits through COMMTIMEOUTS set before each read or write.
#include "serial_port_windows.hpp"

#include <windows.h>

#include <climits>
#include <string>

#include "serial_device.hpp"
#include "serial_port.hpp"
#include "trace.hpp"

namespace pendra::platform {

namespace {

// Quiet time that ends a read once some bytes have come: short beside any
// answer time, long enough to gather a burst into one read.
constexpr DWORD kReadIntervalMs = 5;

DWORD boundedWait(int timeoutMs) {
    if (timeoutMs <= 0) return 0;
    return static_cast<DWORD>(timeoutMs);
}

std::string systemMessage(DWORD error) {
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    if (message.empty()) message = "system error";
    return message + " (" + std::to_string(error) + ")";
}

// Windows itself refuses a second open of a COM port, but Wine does not, nor
// does every virtual-port driver: a named mutex per device keeps programs
// built on this library apart there too. Released with its handle, also
// when the process dies. False when another open holds the claim; `claim`
// stays null where no mutex could be made at all.
bool claimPort(const std::string& device, HANDLE& claim) {
    std::string name = "Local\\pendra-port-";
    for (char c : device) {
        name += c == '\\' ? '_' : (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    claim = CreateMutexA(nullptr, FALSE, name.c_str());
    if (claim != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(claim);
        claim = nullptr;
        return false;
    }
    return true;
}

class WindowsSerialPort final : public SerialPort {
public:
    WindowsSerialPort(HANDLE handle, HANDLE claim, std::string path)
        : handle_(handle), claim_(claim), path_(std::move(path)) {}
    WindowsSerialPort(const WindowsSerialPort&) = delete;
    WindowsSerialPort& operator=(const WindowsSerialPort&) = delete;

    ~WindowsSerialPort() override {
        if (holding) {
            // The last bytes of a frame must reach the other end; then DTR
            // goes down so that a modem hangs up.
            drain();
            setModemLine(CLRDTR, "drop DTR");
        }
        CloseHandle(handle_);
        if (claim_ != nullptr) CloseHandle(claim_);
    }

    bool write(const uint8_t* data, std::size_t length, int timeoutMs) override {
        COMMTIMEOUTS timeouts = current_;
        // Zero in both write fields means "no limit": a zero budget is one
        // millisecond instead.
        const DWORD wait = boundedWait(timeoutMs);
        timeouts.WriteTotalTimeoutMultiplier = 0;
        timeouts.WriteTotalTimeoutConstant = wait == 0 ? 1 : wait;
        if (!applyTimeouts(timeouts)) return false;
        std::size_t done = 0;
        while (done < length) {
            const std::size_t chunk = length - done > 0x10000 ? 0x10000 : length - done;
            DWORD wrote = 0;
            if (!WriteFile(handle_, data + done, static_cast<DWORD>(chunk), &wrote, nullptr)) {
                trace::note(path_ + ": write failed: " + systemMessage(GetLastError()));
                return false;
            }
            if (wrote == 0) return false;  // the time ran out with the queue full
            done += wrote;
        }
        return true;
    }

    ReadStatus read(uint8_t* data, std::size_t capacity, int timeoutMs,
                    std::size_t& received) override {
        received = 0;
        // Wait up to T for the first byte, then return once the line has
        // been quiet for kReadIntervalMs (or the buffer is full). The
        // documented "MAXDWORD, MAXDWORD, T" form would return on the first
        // byte, but Wine takes it for a plain total and waits out all of T.
        // MAXDWORD, 0, 0 returns at once with whatever is there.
        COMMTIMEOUTS timeouts = current_;
        const DWORD wait = boundedWait(timeoutMs);
        timeouts.ReadIntervalTimeout = wait == 0 ? MAXDWORD : kReadIntervalMs;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = wait;
        if (!applyTimeouts(timeouts)) return ReadStatus::Failed;
        const DWORD wanted = capacity > 0x10000 ? 0x10000 : static_cast<DWORD>(capacity);
        DWORD got = 0;
        if (!ReadFile(handle_, data, wanted, &got, nullptr)) {
            trace::note(path_ + ": read failed: " + systemMessage(GetLastError()));
            return ReadStatus::Failed;
        }
        if (got == 0) return ReadStatus::TimedOut;
        received = got;
        return ReadStatus::Data;
    }

    bool drain() override {
        if (FlushFileBuffers(handle_)) return true;
        const DWORD error = GetLastError();
        // A device that keeps no output queue has nothing to wait for.
        return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
    }

    void discardInput() override { PurgeComm(handle_, PURGE_RXCLEAR | PURGE_RXABORT); }

    // Raises or drops one modem line; a device without the line (a
    // pseudo-terminal under Wine, some adapters) is traced and carries on.
    void setModemLine(DWORD function, const char* what) {
        if (!EscapeCommFunction(handle_, function)) {
            trace::note(path_ + ": cannot " + what + ": " + systemMessage(GetLastError()) +
                        "; carrying on without it");
        }
    }

    bool holding = false;  // the line was set up: close drains and drops DTR

private:
    // The waits are set only when they change: most calls repeat the last.
    bool applyTimeouts(const COMMTIMEOUTS& wanted) {
        if (haveTimeouts_ && wanted.ReadIntervalTimeout == current_.ReadIntervalTimeout &&
            wanted.ReadTotalTimeoutMultiplier == current_.ReadTotalTimeoutMultiplier &&
            wanted.ReadTotalTimeoutConstant == current_.ReadTotalTimeoutConstant &&
            wanted.WriteTotalTimeoutMultiplier == current_.WriteTotalTimeoutMultiplier &&
            wanted.WriteTotalTimeoutConstant == current_.WriteTotalTimeoutConstant) {
            return true;
        }
        COMMTIMEOUTS copy = wanted;
        if (!SetCommTimeouts(handle_, &copy)) {
            trace::note(path_ + ": cannot set the waits: " + systemMessage(GetLastError()));
            haveTimeouts_ = false;
            return false;
        }
        current_ = wanted;
        haveTimeouts_ = true;
        return true;
    }

    HANDLE handle_;
    HANDLE claim_;  // the named mutex; null where none could be made
    std::string path_;
    COMMTIMEOUTS current_{};
    bool haveTimeouts_ = false;
};

DWORD speedConstant(int32_t baud) {
    switch (baud) {
        case 110: return CBR_110;
        case 300: return CBR_300;
        case 600: return CBR_600;
        case 1200: return CBR_1200;
        case 2400: return CBR_2400;
        case 4800: return CBR_4800;
        case 9600: return CBR_9600;
        case 19200: return CBR_19200;
        case 38400: return CBR_38400;
        case 57600: return CBR_57600;
        case 150: return 150;  // no CBR_ name, but the driver takes the number
        default: return 0;
    }
}

// None when the line took the settings; otherwise why not, with `error` the
// system's own words.
OpenFailure applySettings(HANDLE handle, const LineSettings& settings, std::string& error) {
    const DWORD speed = speedConstant(settings.baud);
    if (speed == 0) {
        error = "unsupported speed " + std::to_string(settings.baud);
        return OpenFailure::SettingsRefused;
    }
    DCB mode{};
    mode.DCBlength = sizeof mode;
    if (!GetCommState(handle, &mode)) return OpenFailure::NotSerialDevice;
    mode.BaudRate = speed;
    // Eight data bits always: frames are binary. Parity, when asked for,
    // is a ninth bit on the line; the frame's CRC does the real checking.
    mode.ByteSize = 8;
    mode.Parity = settings.parity == 'O'   ? ODDPARITY
                  : settings.parity == 'E' ? EVENPARITY
                                           : NOPARITY;
    mode.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    mode.fBinary = TRUE;
    mode.fParity = mode.Parity != NOPARITY;
    // No flow control of any kind: the terminals use none, and a line held
    // by a missing handshake would stall writes past their bound.
    mode.fOutxCtsFlow = FALSE;
    mode.fOutxDsrFlow = FALSE;
    mode.fDtrControl = DTR_CONTROL_ENABLE;
    mode.fRtsControl = RTS_CONTROL_ENABLE;
    mode.fDsrSensitivity = FALSE;
    mode.fTXContinueOnXoff = TRUE;
    mode.fOutX = FALSE;
    mode.fInX = FALSE;
    mode.fErrorChar = FALSE;
    mode.fNull = FALSE;
    mode.fAbortOnError = FALSE;
    if (!SetCommState(handle, &mode)) {
        error = systemMessage(GetLastError());
        return OpenFailure::SettingsRefused;
    }
    return OpenFailure::None;
}

OpenResult failed(const std::string& path, OpenFailure failure, const std::string& detail = {}) {
    OpenResult result;
    result.failure = failure;
    result.error = describeOpenFailure(path, failure, 0, detail);
    return result;
}

}  // namespace

OpenFailure openFailureFromError(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST: return OpenFailure::NoSuchDevice;
        // Windows opens a COM port for one program at a time: a second
        // open is refused with "access denied", whoever holds the port.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY: return OpenFailure::InUse;
        default: return OpenFailure::Other;
    }
}

std::string windowsDevicePath(const std::string& path) {
    // "COM10" and above name a device only in the \\.\ form; "COM1" to
    // "COM9" work either way, so every bare COMn gets the prefix.
    if (path.size() < 4 || path.size() > 6) return path;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(path[0]) != 'C' || upper(path[1]) != 'O' || upper(path[2]) != 'M') return path;
    for (std::size_t i = 3; i < path.size(); ++i) {
        if (path[i] < '0' || path[i] > '9') return path;
    }
    if (path[3] == '0') return path;
    return "\\\\.\\" + path;
}

OpenResult openSerialDevice(const std::string& path, const LineSettings& settings) {
    const std::string device = windowsDevicePath(path);
    HANDLE claim = nullptr;
    if (!claimPort(device, claim)) return failed(path, OpenFailure::InUse);
    const HANDLE handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (claim != nullptr) CloseHandle(claim);
        return failed(path, openFailureFromError(error), systemMessage(error));
    }
    auto port = std::make_unique<WindowsSerialPort>(handle, claim, path);
    if (GetFileType(handle) != FILE_TYPE_CHAR) return failed(path, OpenFailure::NotSerialDevice);
    std::string settingsError;
    const OpenFailure refused = applySettings(handle, settings, settingsError);
    if (refused != OpenFailure::None) return failed(path, refused, settingsError);
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_TXABORT);
    port->setModemLine(SETDTR, "raise DTR");
    port->setModemLine(SETRTS, "raise RTS");
    port->holding = true;
    OpenResult result;
    result.failure = OpenFailure::None;
    result.port = std::move(port);
    return result;
}

std::string defaultDevicePath(int32_t port) { return "\\\\.\\COM" + std::to_string(port); }

}  // namespace pendra::platform
