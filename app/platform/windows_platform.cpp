// The program's platform layer on Windows (Win32).
#include <windows.h>
// windows.h maps ReplaceFile to ReplaceFileA, which would rename our member
// in this file only; the system call is named in full below.
#undef ReplaceFile

#include <cstdlib>  // _putenv_s
#include <vector>

#include "platform/platform.hpp"

namespace zelo::platform {
namespace {

// Closes a handle on every path out of a function.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    HANDLE release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    // Closes now and reports whether the close succeeded.
    bool Close() { return CloseHandle(release()) != 0; }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Written through WriteFile without a user-space buffer, so every record
// reaches the system at once and readers see it while the run goes on.
class HandleFile final : public AppendFile {
public:
    explicit HandleFile(HANDLE handle) : handle_(handle) {}
    HandleFile(const HandleFile&) = delete;
    HandleFile& operator=(const HandleFile&) = delete;
    ~HandleFile() override { CloseHandle(handle_); }

    // Every write at the end, as another program may have added to the
    // file meanwhile (0xFFFFFFFF in both offsets means the end of file).
    bool Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD chunk =
                bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
            OVERLAPPED atEnd{};
            atEnd.Offset = 0xFFFFFFFF;
            atEnd.OffsetHigh = 0xFFFFFFFF;
            DWORD written = 0;
            if (!WriteFile(handle_, bytes.data(), chunk, &written, &atEnd) || written == 0)
                return false;
            bytes.remove_prefix(written);
        }
        return true;
    }
    bool Flush() override { return FlushFileBuffers(handle_) != 0; }

private:
    HANDLE handle_;
};

// Other programs may read and write the polled-data file meanwhile.
constexpr DWORD kSharedAccess = FILE_SHARE_READ | FILE_SHARE_WRITE;

std::unique_ptr<AppendFile> OpenShared(const std::string& path, DWORD access, DWORD disposition) {
    const HANDLE handle = CreateFileA(path.c_str(), access, kSharedAccess, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleFile>(handle);
}

std::atomic<std::atomic<int>*> stopFlag{nullptr};
std::atomic<int> stopSignalNumber{0};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI RequestStopOnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            if (std::atomic<int>* flag = stopFlag.load()) {
                // Ctrl-C reads as SIGINT, the others as SIGTERM.
                stopSignalNumber.store(event == CTRL_C_EVENT ? 2 : 15);
                flag->store(1);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

std::string SystemPlatform::CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return ".";
    std::vector<char> buffer(needed + 1);
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return ".";
    return std::string(buffer.data(), length);
}

char SystemPlatform::PathSeparator() const { return '\\'; }

LocalTime SystemPlatform::Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth,  now.wDay,   now.wDayOfWeek,
                     now.wHour, now.wMinute, now.wSecond};
}

std::int64_t SystemPlatform::Seconds() {
    return static_cast<std::int64_t>(GetTickCount64() / 1000);
}

void SystemPlatform::Sleep(int milliseconds) {
    ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

ReadResult SystemPlatform::ReadFile(const std::string& path, std::size_t maxBytes,
                                    std::string& contents) {
    contents.clear();
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return IsMissing(GetLastError()) ? ReadResult::kMissing : ReadResult::kFailed;
    // Only a regular file is read: not a pipe, a console or a device.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return ReadResult::kFailed;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return ReadResult::kFailed;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > maxBytes)
        return ReadResult::kFailed;
    char chunk[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return ReadResult::kFailed;
        if (got == 0) return ReadResult::kRead;
        if (contents.size() + got > maxBytes) {
            contents.clear();
            return ReadResult::kFailed;
        }
        contents.append(chunk, got);
    }
}

bool SystemPlatform::WriteNewFile(const std::string& path, std::string_view contents) {
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    if (!WriteAll(file.get(), contents)) return false;
    if (!FlushFileBuffers(file.get())) return false;
    return file.Close();
}

bool SystemPlatform::ReplaceFile(const std::string& from, const std::string& to) {
    // ReplaceFile keeps the old file's attributes and permissions; it needs
    // the old file to exist, so a first save moves the new one into place.
    if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES &&
        ::ReplaceFileA(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                       nullptr)) {
        return true;
    }
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void SystemPlatform::RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

bool SystemPlatform::EnsureDirectory(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::int64_t> SystemPlatform::FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
}

std::unique_ptr<AppendFile> SystemPlatform::OpenForAppend(const std::string& path) {
    // Write access as a whole, which FlushFileBuffers needs; the writes
    // themselves go to the end (HandleFile::Write), as with O_APPEND.
    if (auto file = OpenShared(path, GENERIC_WRITE, OPEN_EXISTING)) return file;
    if (!IsMissing(GetLastError())) return nullptr;
    // Exclusive creation: a file that appeared meanwhile is never emptied.
    return OpenShared(path, GENERIC_WRITE, CREATE_NEW);
}

std::unique_ptr<AppendFile> SystemPlatform::CreateEmpty(const std::string& path) {
    return OpenShared(path, GENERIC_WRITE, CREATE_ALWAYS);
}

void InstallStopHandler(std::atomic<int>& flag) {
    stopFlag.store(&flag);
    SetConsoleCtrlHandler(RequestStopOnConsoleEvent, TRUE);
}

int StopSignalNumber() { return stopSignalNumber.load(); }

void SetEnvironmentValue(const std::string& name, const std::string& value) {
    // The C runtime's copy, which getenv reads, and the process's own.
    _putenv_s(name.c_str(), value.c_str());
    ::SetEnvironmentVariableA(name.c_str(), value.c_str());
}

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace zelo::platform
