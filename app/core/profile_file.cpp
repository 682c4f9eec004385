#include "core/profile_file.hpp"

#include <utility>

namespace zelo::core {

ProfileFile::ProfileFile(Platform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {}

void ProfileFile::Load() {
    std::string contents;
    const ReadResult result = platform_.ReadFile(path_, kMaxBytes, contents);
    unreadable_ = result == ReadResult::kFailed;
    text_ = result == ReadResult::kRead ? ProfileText(contents) : ProfileText();
}

bool ProfileFile::Save() {
    if (unreadable_) return false;
    return WriteFileAtomically(platform_, path_, text_.Contents());
}

}  // namespace zelo::core
