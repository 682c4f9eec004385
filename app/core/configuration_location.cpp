#include "core/configuration.hpp"

namespace zelo::core {

ConfigurationLocation LocateConfiguration(std::string_view currentDirectory, char separator) {
    std::string directory(currentDirectory);
    if (!directory.empty() && directory.back() == separator) directory.pop_back();
    // The directory is kept whole however long it is: a path cut short
    // would name another folder.
    ConfigurationLocation location;
    location.workingDirectory = directory;
    location.configurationPath = directory + separator + "Zelocom.ini";
    location.errorLogPath = directory + separator + "ERR_LOG.TXT";
    return location;
}

}  // namespace zelo::core
