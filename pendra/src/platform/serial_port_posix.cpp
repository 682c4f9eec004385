// POSIX serial devices: termios raw mode, flock + UUCP lock + TIOCEXCL for
// exclusive use, poll() for bounded waits.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "descriptor_port.hpp"
#include "port_lock_posix.hpp"
#include "serial_device.hpp"
#include "serial_port.hpp"
#include "trace.hpp"

namespace pendra::platform {

namespace {

using Clock = std::chrono::steady_clock;

speed_t speedConstant(int32_t baud) {
    switch (baud) {
        case 110: return B110;
        case 150: return B150;
        case 300: return B300;
        case 600: return B600;
        case 1200: return B1200;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        default: return B0;
    }
}

int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

class DescriptorPort : public SerialPort {
public:
    explicit DescriptorPort(int fd) : fd_(fd) {}
    DescriptorPort(const DescriptorPort&) = delete;
    DescriptorPort& operator=(const DescriptorPort&) = delete;
    ~DescriptorPort() override {
        if (fd_ >= 0) ::close(fd_);
    }

    bool write(const uint8_t* data, std::size_t length, int timeoutMs) override {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::size_t done = 0;
        while (done < length) {
            const ssize_t wrote = ::write(fd_, data + done, length - done);
            if (wrote > 0) {
                done += static_cast<std::size_t>(wrote);
                continue;
            }
            if (wrote < 0 && errno == EINTR) continue;
            if (wrote < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
            pollfd entry{fd_, POLLOUT, 0};
            const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
            if (ready == 0) return false;
            if (ready < 0 && errno != EINTR) return false;
            if (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) return false;
        }
        return true;
    }

    ReadStatus read(uint8_t* data, std::size_t capacity, int timeoutMs,
                    std::size_t& received) override {
        received = 0;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            pollfd entry{fd_, POLLIN, 0};
            const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
            if (ready < 0) {
                if (errno == EINTR) continue;
                return ReadStatus::Failed;
            }
            if (ready == 0) return ReadStatus::TimedOut;
            if (entry.revents & POLLIN) {
                const ssize_t got = ::read(fd_, data, capacity);
                if (got > 0) {
                    received = static_cast<std::size_t>(got);
                    return ReadStatus::Data;
                }
                if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
                return ReadStatus::Failed;  // end of file or EIO: the device is gone
            }
            if (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) return ReadStatus::Failed;
        }
    }

    bool drain() override {
        while (::tcdrain(fd_) != 0) {
            if (errno == ENOTTY) return true;
            if (errno != EINTR) return false;
        }
        return true;
    }

    void discardInput() override { ::tcflush(fd_, TCIFLUSH); }

protected:
    int fd_;
};

// A serial device this process holds alone.
class LockedSerialPort : public DescriptorPort {
public:
    explicit LockedSerialPort(int fd) : DescriptorPort(fd) {}
    LockedSerialPort(const LockedSerialPort&) = delete;
    LockedSerialPort& operator=(const LockedSerialPort&) = delete;

    ~LockedSerialPort() override {
        // A failed open must not touch a device that another program holds.
        if (!holding) return;
        // The last bytes of a frame must reach the other end; then DTR goes
        // down so that a modem hangs up (HUPCL does the same on close).
        drain();
        int dtr = TIOCM_DTR;
        ::ioctl(fd_, TIOCMBIC, &dtr);
        ::ioctl(fd_, TIOCNXCL);
        ::flock(fd_, LOCK_UN);
        uucpLock.release();
    }

    UucpLock uucpLock;
    bool holding = false;  // every lock taken and the line set up
};

OpenFailure failureFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV: return OpenFailure::NoSuchDevice;
        case EACCES:
        case EPERM: return OpenFailure::PermissionDenied;
        case EBUSY: return OpenFailure::InUse;
        case ENOTDIR: return OpenFailure::NoSuchDevice;
        default: return OpenFailure::Other;
    }
}

// Whoever holds the device, as far as the locks tell.
long holderOf(const std::string& lockTarget) {
    if (const long holder = uucpLockHolder(lockTarget)) return holder;
    return flockHolder(lockTarget);
}

OpenFailure applySettings(int fd, const LineSettings& settings, std::string& error) {
    const speed_t speed = speedConstant(settings.baud);
    if (speed == B0) {
        error = "unsupported speed " + std::to_string(settings.baud);
        return OpenFailure::SettingsRefused;
    }
    termios mode{};
    if (::tcgetattr(fd, &mode) != 0) return OpenFailure::NotSerialDevice;
    ::cfmakeraw(&mode);
    mode.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    mode.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    // Eight data bits always: frames are binary. Parity, when asked for,
    // is a ninth bit on the line; the frame's CRC does the real checking.
    mode.c_cflag |= CS8 | CLOCAL | CREAD | HUPCL;
    if (settings.parity == 'O' || settings.parity == 'E') mode.c_cflag |= PARENB;
    if (settings.parity == 'O') mode.c_cflag |= PARODD;
    if (settings.stopBits == 2) mode.c_cflag |= CSTOPB;
    mode.c_cc[VMIN] = 0;
    mode.c_cc[VTIME] = 0;
    ::cfsetispeed(&mode, speed);
    ::cfsetospeed(&mode, speed);
    if (::tcsetattr(fd, TCSANOW, &mode) != 0) {
        error = std::strerror(errno);
        return OpenFailure::SettingsRefused;
    }
    return OpenFailure::None;
}

OpenResult failed(const std::string& path, OpenFailure failure, long holderPid = 0,
                  const std::string& detail = {}) {
    OpenResult result;
    result.failure = failure;
    result.holderPid = holderPid;
    result.error = describeOpenFailure(path, failure, holderPid, detail);
    return result;
}

}  // namespace

OpenResult openSerialDevice(const std::string& path, const LineSettings& settings) {
    char resolved[PATH_MAX];
    const std::string lockTarget = ::realpath(path.c_str(), resolved) ? resolved : path;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        const OpenFailure failure = failureFromErrno(error);
        return failed(path, failure, failure == OpenFailure::InUse ? holderOf(lockTarget) : 0,
                      std::strerror(error));
    }
    auto port = std::make_unique<LockedSerialPort>(fd);
    if (!::isatty(fd)) return failed(path, OpenFailure::NotSerialDevice);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return failed(path, OpenFailure::InUse, holderOf(lockTarget));
    }
    std::string lockError;
    if (!port->uucpLock.acquire(lockTarget, lockError)) {
        return failed(path, OpenFailure::InUse, port->uucpLock.holderPid(), lockError);
    }
    // Keeps out later opens by programs that take no lock (root excepted).
    ::ioctl(fd, TIOCEXCL);
    std::string settingsError;
    const OpenFailure refused = applySettings(fd, settings, settingsError);
    if (refused != OpenFailure::None) return failed(path, refused, 0, settingsError);
    ::tcflush(fd, TCIFLUSH);
    int dtr = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIS, &dtr) != 0) {
        // Not every device has modem lines (a pseudo-terminal has none).
        trace::note(path + ": cannot raise DTR and RTS: " + std::strerror(errno) +
                    "; carrying on without them");
    }
    port->holding = true;
    OpenResult result;
    result.failure = OpenFailure::None;
    result.port = std::move(port);
    return result;
}

std::string defaultDevicePath(int32_t port) { return "/dev/ttyS" + std::to_string(port - 1); }

std::unique_ptr<SerialPort> adoptDescriptor(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    return std::make_unique<DescriptorPort>(fd);
}

}  // namespace pendra::platform
