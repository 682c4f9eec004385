#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

#include "link/link_environment.hpp"

namespace zelo::link {
namespace {

// A descriptor written without a user-space buffer, so every record reaches
// the system at once and readers see it while the run goes on.
class DescriptorFile final : public PollDataFile {
public:
    explicit DescriptorFile(int fd) : fd_(fd) {}
    DescriptorFile(const DescriptorFile&) = delete;
    DescriptorFile& operator=(const DescriptorFile&) = delete;
    ~DescriptorFile() override { ::close(fd_); }

    bool Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (written == 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool Flush() override { return true; }

private:
    int fd_;
};

std::unique_ptr<PollDataFile> Wrap(int fd) {
    if (fd < 0) return nullptr;
    return std::make_unique<DescriptorFile>(fd);
}

class PosixLinkEnvironment final : public LinkEnvironment {
public:
    LocalDateTime Now() override {
        const std::time_t now = std::time(nullptr);
        std::tm parts{};
        ::localtime_r(&now, &parts);
        return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                parts.tm_hour,        parts.tm_min,     parts.tm_sec};
    }
    std::int64_t Seconds() override {
        return std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    // A sleep rather than a busy wait: a polling run spends most of its
    // time in these pauses.
    void Sleep(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    char PathSeparator() const override { return '/'; }

    bool EnsureDirectory(const std::string& path) override {
        if (::mkdir(path.c_str(), 0777) == 0) return true;
        struct stat info {};
        return errno == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    std::optional<std::int64_t> FileSize(const std::string& path) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
        return static_cast<std::int64_t>(info.st_size);
    }

    std::unique_ptr<PollDataFile> OpenForAppend(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT) return Wrap(fd);
        // Exclusive creation: a file that appeared meanwhile is never emptied.
        return Wrap(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    }
    std::unique_ptr<PollDataFile> CreateEmpty(const std::string& path) override {
        return Wrap(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    }
};

}  // namespace

LinkEnvironment& SystemLinkEnvironment() {
    static PosixLinkEnvironment environment;
    return environment;
}

}  // namespace zelo::link
