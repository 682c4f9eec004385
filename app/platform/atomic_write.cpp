#include "platform/platform.hpp"

namespace zelo::platform {

bool WriteFileAtomically(Platform& platform, const std::string& path, std::string_view contents) {
    // Beside the target, so that the replacement stays within one volume.
    const std::string temporary = path + ".tmp";
    if (!platform.WriteNewFile(temporary, contents) || !platform.ReplaceFile(temporary, path)) {
        platform.RemoveFile(temporary);
        return false;
    }
    return true;
}

Platform& System() {
    static SystemPlatform system;
    return system;
}

}  // namespace zelo::platform
