#include "core/platform/platform.hpp"

namespace zelo::core {

bool WriteFileAtomically(Platform& platform, const std::string& path, std::string_view contents) {
    // Beside the target, so that the rename stays within one file system.
    const std::string temporary = path + ".tmp";
    if (!platform.WriteNewFile(temporary, contents) || !platform.ReplaceFile(temporary, path)) {
        platform.RemoveFile(temporary);
        return false;
    }
    return true;
}

}  // namespace zelo::core
