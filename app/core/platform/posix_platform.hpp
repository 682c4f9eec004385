#pragma once

#include "core/platform/platform.hpp"

namespace zelo::core {

// The platform layer on POSIX systems. Tests derive from it to replace one
// function (the clock, a write that fails) and keep real files for the rest.
class PosixPlatform : public Platform {
public:
    std::string CurrentDirectory() override;
    char PathSeparator() const override { return '/'; }
    LocalTime Now() override;
    ReadResult ReadFile(const std::string& path, std::size_t maxBytes,
                        std::string& contents) override;
    bool WriteNewFile(const std::string& path, std::string_view contents) override;
    bool ReplaceFile(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
};

}  // namespace zelo::core
