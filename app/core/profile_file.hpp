#pragma once

#include <cstddef>
#include <string>

#include "core/core_platform.hpp"
#include "core/profile_text.hpp"

namespace zelo::core {

// A profile file on disk: read whole, edited in memory, written whole in one
// atomic step.
class ProfileFile {
public:
    // A configuration file is a few kilobytes; anything far larger is not
    // one of ours and is neither read into memory nor overwritten.
    static constexpr std::size_t kMaxBytes = 1 << 20;

    ProfileFile(Platform& platform, std::string path);

    // Reads the file as it is now. A missing file, or one that cannot be
    // read, reads as empty: every key then takes its default.
    void Load();

    ProfileText& Text() { return text_; }
    const ProfileText& Text() const { return text_; }

    // Writes the text back, creating the file when missing. Refuses (false)
    // when the file exists but could not be read, so that a file we could
    // not see is never replaced by one without its contents.
    bool Save();

private:
    Platform& platform_;
    std::string path_;
    ProfileText text_;
    bool unreadable_ = false;
};

}  // namespace zelo::core
