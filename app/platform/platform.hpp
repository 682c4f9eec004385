// What the program needs from the operating system, in one interface: the
// working directory, the clocks, pauses, whole-file reads, the atomic
// replacement of a file, folders, the polled-data file and the Stop
// request from the console. One implementation per system
// (posix_platform.cpp, windows_platform.cpp), chosen at build time; tests
// derive from SystemPlatform to replace one function (a fixed clock, a
// write that fails) and keep the real system for the rest.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zelo::platform {

// The PC's local date and time.
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

// An open file written at its end (the polled-data file). Other programs may
// read and write it while a polling run holds it open.
class AppendFile {
public:
    virtual ~AppendFile() = default;
    // False unless every byte was written.
    virtual bool Write(std::string_view bytes) = 0;
    // Puts what was written on stable storage (fsync, FlushFileBuffers), so
    // that a power cut cannot take it; false when that failed. Writes reach
    // the system at once without it: readers see them, and a crash of the
    // program alone loses nothing.
    virtual bool Flush() = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // The process's current working directory, as the system spells it.
    virtual std::string CurrentDirectory() = 0;
    // The character that separates folders in a path.
    virtual char PathSeparator() const = 0;

    virtual LocalTime Now() = 0;
    // A steady count of seconds for measuring stretches of a run; unaffected
    // by changes to the time of day.
    virtual std::int64_t Seconds() = 0;
    virtual void Sleep(int milliseconds) = 0;

    // Reads the whole file into `contents` unless it is larger than maxBytes.
    virtual ReadResult ReadFile(const std::string& path, std::size_t maxBytes,
                                std::string& contents) = 0;
    // Creates or truncates `path`, writes all of `contents` and makes it
    // durable. False when anything failed; the file may then be partial.
    virtual bool WriteNewFile(const std::string& path, std::string_view contents) = 0;
    // Puts `from` in the place of `to` in one step, replacing `to`.
    virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
    virtual void RemoveFile(const std::string& path) = 0;

    // True when `path` is a folder, creating it when missing.
    virtual bool EnsureDirectory(const std::string& path) = 0;
    // The size of a regular file; nothing when it does not exist.
    virtual std::optional<std::int64_t> FileSize(const std::string& path) = 0;
    // Opens an existing file for writing at its end, keeping its contents;
    // creates it empty only when no file of that name exists. Null on failure.
    virtual std::unique_ptr<AppendFile> OpenForAppend(const std::string& path) = 0;
    // Creates the file empty, truncating an old one. Null on failure.
    virtual std::unique_ptr<AppendFile> CreateEmpty(const std::string& path) = 0;
};

// The running system. Every function is the real one; derive to replace some.
class SystemPlatform : public Platform {
public:
    std::string CurrentDirectory() override;
    char PathSeparator() const override;
    LocalTime Now() override;
    std::int64_t Seconds() override;
    void Sleep(int milliseconds) override;
    ReadResult ReadFile(const std::string& path, std::size_t maxBytes,
                        std::string& contents) override;
    bool WriteNewFile(const std::string& path, std::string_view contents) override;
    bool ReplaceFile(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
    bool EnsureDirectory(const std::string& path) override;
    std::optional<std::int64_t> FileSize(const std::string& path) override;
    std::unique_ptr<AppendFile> OpenForAppend(const std::string& path) override;
    std::unique_ptr<AppendFile> CreateEmpty(const std::string& path) override;
};

// One SystemPlatform for the whole program.
Platform& System();

// Writes `contents` to a temporary file beside `path` and puts it in place
// of `path`, so that a crash or a full disk leaves either the old or the new
// file, never a half-written one. False when the file was not replaced.
bool WriteFileAtomically(Platform& platform, const std::string& path, std::string_view contents);

// From now on the console's interrupt (Ctrl-C; SIGINT and SIGTERM on POSIX,
// Ctrl-Break and closing the console window on Windows) sets `flag` to 1
// instead of ending the process, so that the run can stop in order. `flag`
// must outlive the process's use of it.
void InstallStopHandler(std::atomic<int>& flag);

// The number of the signal that asked the run to stop (SIGINT for Ctrl-C),
// for the exit status shells expect (128 + the number); 0 when none came.
int StopSignalNumber();

// Sets a variable in the process's environment, which the link layer reads
// when the line opens. Call before any other thread starts.
void SetEnvironmentValue(const std::string& name, const std::string& value);

// True when the standard error stream is a terminal (a console on Windows),
// where a progress line that rewrites itself makes sense.
bool StandardErrorIsTerminal();

}  // namespace zelo::platform
