#include "port_lock_posix.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

namespace pendra::platform {

namespace {

const char* lockFolder() {
    // Tests point this elsewhere; the default is where serial programs look.
    const char* folder = std::getenv("PENDRA_LOCK_DIR");
    return folder != nullptr && folder[0] != 0 ? folder : "/var/lock";
}

// Lock files this process holds, removed at exit when nobody released them.
// Never destroyed: ports still open at exit release their locks after the
// exit handler has run.
std::mutex& heldMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}
std::set<std::string>& heldLocks() {
    static auto* locks = new std::set<std::string>;
    return *locks;
}

void removeHeldLocksAtExit() {
    std::lock_guard<std::mutex> guard(heldMutex());
    for (const std::string& path : heldLocks()) ::unlink(path.c_str());
    heldLocks().clear();
}

void rememberHeld(const std::string& path) {
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(removeHeldLocksAtExit); });
    std::lock_guard<std::mutex> guard(heldMutex());
    heldLocks().insert(path);
}

void forgetHeld(const std::string& path) {
    std::lock_guard<std::mutex> guard(heldMutex());
    heldLocks().erase(path);
}

// "/dev/ttyUSB0" -> "ttyUSB0", "/dev/pts/3" -> "pts_3".
std::string lockName(const std::string& devicePath) {
    std::string name = devicePath.rfind("/dev/", 0) == 0 ? devicePath.substr(5) : devicePath;
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return name;
}

// The PID a lock file holds, 0 when unreadable.
long lockHolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[32] = {};
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (got <= 0) return 0;
    return std::strtol(text, nullptr, 10);
}

bool processRuns(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

std::string lockFilePath(const std::string& devicePath) {
    return std::string(lockFolder()) + "/LCK.." + lockName(devicePath);
}

}  // namespace

long uucpLockHolder(const std::string& devicePath) {
    const long holder = lockHolder(lockFilePath(devicePath));
    return processRuns(holder) ? holder : 0;
}

long flockHolder(const std::string& devicePath) {
    struct stat status {};
    if (::stat(devicePath.c_str(), &status) != 0) return 0;
    // Lines read "1: FLOCK  ADVISORY  WRITE 1234 00:05:87 0 EOF": the
    // holder's PID, then the file system's major:minor (hex) and the inode.
    std::ifstream locks("/proc/locks");
    std::string line;
    for (int lines = 0; lines < 100000 && std::getline(locks, line); ++lines) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, where;
        long pid = 0;
        if (!(fields >> number >> kind)) continue;
        if (kind == "->") fields >> kind;  // a waiter, listed under the holder
        if (kind != "FLOCK" || !(fields >> mode >> access >> pid >> where)) continue;
        unsigned major = 0, minor = 0;
        unsigned long inode = 0;
        if (std::sscanf(where.c_str(), "%x:%x:%lu", &major, &minor, &inode) != 3) continue;
        if (major == ::major(status.st_dev) && minor == ::minor(status.st_dev) &&
            inode == status.st_ino && pid != ::getpid()) {
            return pid;
        }
    }
    return 0;
}

bool UucpLock::acquire(const std::string& devicePath, std::string& error) {
    release();
    holderPid_ = 0;
    const std::string path = lockFilePath(devicePath);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            char text[16];
            const int length =
                std::snprintf(text, sizeof text, "%10ld\n", static_cast<long>(::getpid()));
            const bool written = ::write(fd, text, static_cast<std::size_t>(length)) == length;
            ::close(fd);
            if (!written) {
                ::unlink(path.c_str());
                return true;  // best effort: the other locks still hold
            }
            lockPath_ = path;
            rememberHeld(path);
            return true;
        }
        if (errno != EEXIST) return true;  // no lock folder we may write: best effort
        const long holder = lockHolder(path);
        if (processRuns(holder)) {
            error = "in use: " + path + " holds process " + std::to_string(holder);
            holderPid_ = holder;
            return false;
        }
        ::unlink(path.c_str());  // stale: its process is gone
    }
    error = "lock file " + path + " keeps coming back";
    return false;
}

void UucpLock::release() {
    if (lockPath_.empty()) return;
    ::unlink(lockPath_.c_str());
    forgetHeld(lockPath_);
    lockPath_.clear();
}

}  // namespace pendra::platform
