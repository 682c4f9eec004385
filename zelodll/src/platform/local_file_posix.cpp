// POSIX files for the transfers.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/local_file.hpp"

namespace zelo {

namespace {

class PosixFile final : public LocalFile {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    int64_t read(void* data, int64_t size) override {
        for (;;) {
            ssize_t got = ::read(fd_, data, static_cast<size_t>(size));
            if (got >= 0) return got;
            if (errno != EINTR) return -1;
        }
    }

    bool write(const void* data, int64_t size) override {
        auto* bytes = static_cast<const char*>(data);
        while (size > 0) {
            ssize_t put = ::write(fd_, bytes, static_cast<size_t>(size));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return false;
            bytes += put;
            size -= put;
        }
        return true;
    }

    bool seek(int64_t position) override {
        return ::lseek(fd_, static_cast<off_t>(position), SEEK_SET) == position;
    }

    int64_t size() override {
        struct stat st {};
        return ::fstat(fd_, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    }

    bool sync() override { return ::fsync(fd_) == 0; }

    int32_t token() const override { return fd_ + 1; }

private:
    int fd_;
};

int openFlags(OpenMode mode) {
    switch (mode) {
        case OpenMode::CreateWrite: return O_WRONLY | O_CREAT;
        case OpenMode::CreateReadWrite: return O_RDWR | O_CREAT;
        case OpenMode::ExistingReadWrite: return O_RDWR;
        case OpenMode::CreateNewWrite: return O_WRONLY | O_CREAT | O_EXCL;
        case OpenMode::CreateNewReadWrite: return O_RDWR | O_CREAT | O_EXCL;
        case OpenMode::ExistingRead: return O_RDONLY;
    }
    return O_RDONLY;
}

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<LocalFile> open(const char* path, OpenMode mode) override {
        int fd = ::open(path, openFlags(mode) | O_CLOEXEC, 0644);
        if (fd < 0) return nullptr;
        // "Not shared": another transfer of ours, or any program that honours
        // flock, cannot open it at the same time.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return nullptr;
        }
        // Emptied only once it is ours: opening with O_TRUNC would empty a
        // file that another transfer holds.
        if (replaces(mode) && ::ftruncate(fd, 0) != 0) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd);
    }

    bool exists(const char* path) override {
        struct stat st {};
        return ::stat(path, &st) == 0;
    }

    bool replace(const char* from, const char* to) override {
        if (::rename(from, to) != 0) return false;
        // The rename lasts across a power cut only once the folder is synced.
        const int folder = ::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) return false;
        const bool synced = ::fsync(folder) == 0;
        ::close(folder);
        return synced;
    }

    bool remove(const char* path) override { return ::unlink(path) == 0; }

private:
    static bool replaces(OpenMode mode) {
        return mode == OpenMode::CreateWrite || mode == OpenMode::CreateReadWrite;
    }
    static std::string folderOf(const char* path) {
        const std::string text(path);
        const auto slash = text.rfind('/');
        if (slash == std::string::npos) return ".";
        return slash == 0 ? "/" : text.substr(0, slash);
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

std::string lastSystemErrorText() {
    const int error = errno;
    return error == 0 ? std::string() : std::generic_category().message(error);
}

bool isPathSeparator(char c) { return c == '/'; }

}  // namespace zelo
