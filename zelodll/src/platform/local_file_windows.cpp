// Win32 files for the transfers.
#include <windows.h>

#include <string>

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

    bool sync() override { return FlushFileBuffers(handle_) != 0; }

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

    bool replace(const char* from, const char* to) override {
        // Write-through: the move is on the disk when the call returns.
        return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool remove(const char* path) override { return DeleteFileA(path) != 0; }
};

}  // namespace

FileSystem& platformFileSystem() {
    static WindowsFileSystem fs;
    return fs;
}

std::string lastSystemErrorText() {
    const DWORD error = GetLastError();
    if (error == ERROR_SUCCESS) return {};
    char text[256] = {};
    const auto format = [&](DWORD language) {
        return FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                              error, language, text, sizeof text, nullptr);
    };
    // In English where the system has it, as the operator's other texts are.
    DWORD length = format(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (length == 0) length = format(0);
    // The system's texts end with a full stop and a line break.
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == '.' || text[length - 1] == ' '))
        --length;
    if (length == 0) return "system error " + std::to_string(error);
    return std::string(text, length);
}

bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace zelo
