#include "link/upload_folder.hpp"

namespace zelo::link {

std::string AddressFolder(std::string_view workingDirectory, char separator, char address) {
    std::string folder(workingDirectory);
    folder += separator;
    folder += "ADDR_";
    folder += address;
    return folder;
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace zelo::link
