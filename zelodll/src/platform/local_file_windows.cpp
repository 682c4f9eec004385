// Win32 files for the transfers.
#include <windows.h>

#include "platform/local_file.hpp"

namespace zelo {

namespace {

class WindowsFile final : public LocalFile {
public:
    explicit WindowsFile(HANDLE handle) : handle_(handle) {}
    ~WindowsFile() override { CloseHandle(handle_); }
    WindowsFile(const WindowsFile&) = delete;
    WindowsFile& operator=(const WindowsFile&) = delete;

    int64_t read(void* data, int64_t size) override {
        DWORD got = 0;
        if (!ReadFile(handle_, data, static_cast<DWORD>(size), &got, nullptr)) return -1;
        return got;
    }

    bool write(const void* data, int64_t size) override {
        DWORD put = 0;
        return WriteFile(handle_, data, static_cast<DWORD>(size), &put, nullptr) &&
               put == static_cast<DWORD>(size);
    }

    bool seek(int64_t position) override {
        LARGE_INTEGER to;
        to.QuadPart = position;
        return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) != 0;
    }

    int64_t size() override {
        LARGE_INTEGER length;
        return GetFileSizeEx(handle_, &length) ? length.QuadPart : -1;
    }

    int32_t token() const override {
        return static_cast<int32_t>(reinterpret_cast<intptr_t>(handle_));
    }

private:
    HANDLE handle_;
};

class WindowsFileSystem final : public FileSystem {
public:
    std::unique_ptr<LocalFile> open(const char* path, OpenMode mode) override {
        DWORD access = GENERIC_WRITE;
        DWORD disposition = CREATE_ALWAYS;
        switch (mode) {
            case OpenMode::CreateWrite: break;
            case OpenMode::CreateReadWrite: access |= GENERIC_READ; break;
            case OpenMode::ExistingReadWrite:
                access |= GENERIC_READ;
                disposition = OPEN_EXISTING;
                break;
            case OpenMode::CreateNewWrite: disposition = CREATE_NEW; break;
            case OpenMode::CreateNewReadWrite:
                access |= GENERIC_READ;
                disposition = CREATE_NEW;
                break;
            case OpenMode::ExistingRead:
                access = GENERIC_READ;
                disposition = OPEN_EXISTING;
                break;
        }
        HANDLE handle =
            CreateFileA(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<WindowsFile>(handle);
    }

    bool exists(const char* path) override {
        return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static WindowsFileSystem fs;
    return fs;
}

bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace zelo
