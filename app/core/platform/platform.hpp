#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelo::core {

// The local date and time, as the C runtime's broken-down time gives it.
struct LocalTime {
    int year = 0;     // e.g. 2026
    int month = 0;    // 1..12
    int day = 0;      // 1..31
    int weekday = 0;  // 0 Sunday .. 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

enum class ReadResult {
    kRead,     // the whole file is in `contents`
    kMissing,  // no such file
    kFailed,   // it exists but could not be read whole (or is larger than allowed)
};

// What the program needs from the operating system, in one place, so that
// tests can replace it (a fixed clock, a disk that fails mid-write). One
// implementation per platform, chosen at build time.
class Platform {
public:
    virtual ~Platform() = default;

    // The process's current working directory, as the system spells it.
    virtual std::string CurrentDirectory() = 0;
    // The character that separates folders in a path.
    virtual char PathSeparator() const = 0;
    virtual LocalTime Now() = 0;

    // Reads the whole file into `contents` unless it is larger than maxBytes.
    virtual ReadResult ReadFile(const std::string& path, std::size_t maxBytes,
                                std::string& contents) = 0;
    // Creates or truncates `path`, writes all of `contents` and makes it
    // durable. False when anything failed; the file may then be partial.
    virtual bool WriteNewFile(const std::string& path, std::string_view contents) = 0;
    // Puts `from` in the place of `to` in one step, replacing `to`.
    virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
};

// Writes `contents` to a temporary file beside `path` and renames it over
// `path`, so that a crash or a full disk leaves either the old or the new
// file, never a half-written one. False when the file was not replaced.
bool WriteFileAtomically(Platform& platform, const std::string& path, std::string_view contents);

}  // namespace zelo::core
