#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zelo::link {

// The PC's local date and time of day.
struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// An open polled-data file. Other programs may read and write it while a
// polling run holds it open.
class PollDataFile {
public:
    virtual ~PollDataFile() = default;
    // False unless every byte was written.
    virtual bool Write(std::string_view bytes) = 0;
    // Hands what was written to the system; false when that failed.
    virtual bool Flush() = 0;
};

// What the polling engine and the transfers need from the system besides the
// terminal library: the clocks, pauses, folders and the polled-data file.
// Tests replace it to drive the clock without waiting and to fail a write.
class LinkEnvironment {
public:
    virtual ~LinkEnvironment() = default;

    virtual LocalDateTime Now() = 0;
    // A steady count of seconds for measuring stretches of a run; unaffected
    // by changes to the time of day.
    virtual std::int64_t Seconds() = 0;
    virtual void Sleep(int milliseconds) = 0;

    virtual char PathSeparator() const = 0;
    // True when `path` is a folder, creating it when missing.
    virtual bool EnsureDirectory(const std::string& path) = 0;
    // The size of a regular file; nothing when it does not exist.
    virtual std::optional<std::int64_t> FileSize(const std::string& path) = 0;

    // Opens an existing file for writing at its end, keeping its contents;
    // creates it empty only when no file of that name exists. Null on failure.
    virtual std::unique_ptr<PollDataFile> OpenForAppend(const std::string& path) = 0;
    // Creates the file empty, truncating an old one. Null on failure.
    virtual std::unique_ptr<PollDataFile> CreateEmpty(const std::string& path) = 0;
};

// The running system's environment; lives as long as the program.
LinkEnvironment& SystemLinkEnvironment();

}  // namespace zelo::link
