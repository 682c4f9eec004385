// A platform whose files live in memory, so that a fuzz target can load and
// save the program's files as often as it likes without touching the disk.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/core_platform.hpp"

namespace zelo::fuzz {

class MemoryPlatform : public core::Platform {
public:
    std::map<std::string, std::string> files;

    std::string CurrentDirectory() override { return "/fuzz"; }
    char PathSeparator() const override { return '/'; }
    core::LocalTime Now() override { return {2026, 12, 8, 2, 12, 0, 0}; }
    std::int64_t Seconds() override { return 0; }
    void Sleep(int) override {}

    core::ReadResult ReadFile(const std::string& path, std::size_t maxBytes,
                              std::string& contents) override {
        contents.clear();
        const auto found = files.find(path);
        if (found == files.end()) return core::ReadResult::kMissing;
        if (found->second.size() > maxBytes) return core::ReadResult::kFailed;
        contents = found->second;
        return core::ReadResult::kRead;
    }
    bool WriteNewFile(const std::string& path, std::string_view contents) override {
        files[path] = std::string(contents);
        return true;
    }
    bool ReplaceFile(const std::string& from, const std::string& to) override {
        const auto found = files.find(from);
        if (found == files.end()) return false;
        files[to] = std::move(found->second);
        files.erase(from);
        return true;
    }
    void RemoveFile(const std::string& path) override { files.erase(path); }
    // Loading and saving need no folders and no open files; refuse them.
    bool EnsureDirectory(const std::string&) override { return false; }
    std::optional<std::int64_t> FileSize(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end()) return std::nullopt;
        return static_cast<std::int64_t>(found->second.size());
    }
    std::unique_ptr<platform::AppendFile> OpenForAppend(const std::string&) override {
        return nullptr;
    }
    std::unique_ptr<platform::AppendFile> CreateEmpty(const std::string&) override {
        return nullptr;
    }
};

}  // namespace zelo::fuzz
