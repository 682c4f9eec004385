#pragma once

#include <string>
#include <string_view>

namespace zelo::link {

// The folder an address's uploads are stored in: ADDR_ and the address
// under the working directory.
std::string AddressFolder(std::string_view workingDirectory, char separator, char address);

// Whether a name from a terminal's listing or the upload list may be used as
// a file name inside an address folder: not empty, no folder separator of
// either kind, no drive or stream colon, and not "." or "..". Anything else
// could create or overwrite a file outside the folder.
bool IsPlainFileName(std::string_view name);

}  // namespace zelo::link
