// The program's platform layer on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "platform/platform.hpp"

namespace zelo::platform {
namespace {

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close (the last chance for a
    // delayed write error) succeeded.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A descriptor written without a user-space buffer, so every record reaches
// the system at once and readers see it while the run goes on.
class DescriptorFile final : public AppendFile {
public:
    explicit DescriptorFile(int fd) : fd_(fd) {}
    DescriptorFile(const DescriptorFile&) = delete;
    DescriptorFile& operator=(const DescriptorFile&) = delete;
    ~DescriptorFile() override { ::close(fd_); }

    bool Write(std::string_view bytes) override { return WriteAll(fd_, bytes); }
    bool Flush() override {
        while (::fsync(fd_) != 0) {
            if (errno != EINTR) return false;
        }
        return true;
    }

private:
    int fd_;
};

std::unique_ptr<AppendFile> Wrap(int fd) {
    if (fd < 0) return nullptr;
    return std::make_unique<DescriptorFile>(fd);
}

std::atomic<std::atomic<int>*> stopFlag{nullptr};
static_assert(std::atomic<std::atomic<int>*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

std::atomic<int> stopSignalNumber{0};

extern "C" void RequestStopOnSignal(int number) {
    stopSignalNumber.store(number);
    if (std::atomic<int>* flag = stopFlag.load()) flag->store(1);
}

}  // namespace

std::string SystemPlatform::CurrentDirectory() {
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return ".";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

char SystemPlatform::PathSeparator() const { return '/'; }

LocalTime SystemPlatform::Now() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::localtime_r(&now, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_wday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::int64_t SystemPlatform::Seconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A sleep rather than a busy wait: a polling run spends most of its time in
// these pauses.
void SystemPlatform::Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

ReadResult SystemPlatform::ReadFile(const std::string& path, std::size_t maxBytes,
                                    std::string& contents) {
    contents.clear();
    // Non-blocking, so that a pipe in the file's place cannot hold the open;
    // only a regular file is read, and reads of one never block anyway.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::kFailed;
    if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > maxBytes)
        return ReadResult::kFailed;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return ReadResult::kFailed;
        }
        if (got == 0) return ReadResult::kRead;
        if (contents.size() + static_cast<std::size_t>(got) > maxBytes) {
            contents.clear();
            return ReadResult::kFailed;
        }
        contents.append(chunk, static_cast<std::size_t>(got));
    }
}

bool SystemPlatform::WriteNewFile(const std::string& path, std::string_view contents) {
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0) return false;
    if (!WriteAll(file.get(), contents)) return false;
    if (::fsync(file.get()) != 0) return false;
    return file.Close();
}

bool SystemPlatform::ReplaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void SystemPlatform::RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

bool SystemPlatform::EnsureDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    struct stat info {};
    return errno == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::int64_t> SystemPlatform::FileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return static_cast<std::int64_t>(info.st_size);
}

std::unique_ptr<AppendFile> SystemPlatform::OpenForAppend(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT) return Wrap(fd);
    // Exclusive creation: a file that appeared meanwhile is never emptied.
    return Wrap(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}

std::unique_ptr<AppendFile> SystemPlatform::CreateEmpty(const std::string& path) {
    return Wrap(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

void InstallStopHandler(std::atomic<int>& flag) {
    stopFlag.store(&flag);
    std::signal(SIGINT, RequestStopOnSignal);
    std::signal(SIGTERM, RequestStopOnSignal);
}

int StopSignalNumber() { return stopSignalNumber.load(); }

void SetEnvironmentValue(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace zelo::platform
