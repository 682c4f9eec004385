#include "core/platform/posix_platform.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

namespace zelo::core {
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

}  // namespace

std::string PosixPlatform::CurrentDirectory() {
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return ".";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

LocalTime PosixPlatform::Now() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::localtime_r(&now, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_wday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

ReadResult PosixPlatform::ReadFile(const std::string& path, std::size_t maxBytes,
                                   std::string& contents) {
    contents.clear();
    // Non-blocking, so that a pipe in the file's place cannot hold the open;
    // only a regular file is read, and reads of one never block anyway.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::kFailed;
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

bool PosixPlatform::WriteNewFile(const std::string& path, std::string_view contents) {
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0) return false;
    while (!contents.empty()) {
        const ssize_t written = ::write(file.get(), contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(file.get()) != 0) return false;
    return file.Close();
}

bool PosixPlatform::ReplaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void PosixPlatform::RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace zelo::core
