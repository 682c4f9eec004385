// The local file a download reads, shared by the one-terminal and the group
// downloads.
#pragma once

#include <memory>

#include "platform/local_file.hpp"

namespace zelo {

// Whether the file to download is there; when it is not, the system's
// reason is kept for the operator.
bool findLocalFile(const char* name);

// Opens the file to download, remembering its name for a read that fails
// later.
std::unique_ptr<LocalFile> openLocalFile(const char* name);

}  // namespace zelo
