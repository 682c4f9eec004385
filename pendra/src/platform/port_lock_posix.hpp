// The UUCP lock file (/var/lock/LCK..<name>, our PID in ten columns) that
// serial programs on Linux use to keep off a device another one holds.
// Best effort: where the lock folder is not writable, only flock() and
// TIOCEXCL guard the device.
#pragma once

#include <string>

namespace pendra::platform {

class UucpLock {
public:
    UucpLock() = default;
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;
    ~UucpLock() { release(); }

    // Takes the lock for the device at `devicePath`. A lock left by a
    // process that no longer runs is taken over. False, with the reason in
    // `error`, only when a running process holds it; a folder we cannot
    // write leaves the lock untaken and returns true.
    bool acquire(const std::string& devicePath, std::string& error);
    void release();

    const std::string& path() const { return lockPath_; }
    // After a refused acquire: the process that holds the lock.
    long holderPid() const { return holderPid_; }

private:
    std::string lockPath_;  // empty while not held
    long holderPid_ = 0;
};

// The process that holds an flock() on the file at `devicePath`, from
// /proc/locks; 0 when none is found or the system does not say.
long flockHolder(const std::string& devicePath);

// The running process named by the UUCP lock file of `devicePath`; 0 when
// there is none.
long uucpLockHolder(const std::string& devicePath);

}  // namespace pendra::platform
