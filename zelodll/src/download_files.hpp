// The local file a download reads, shared by the one-terminal and the group
// downloads.
#pragma once

#include <cstdint>

namespace zelo {

// Whether the file to download is there; when it is not, the system's
// reason is kept for the operator.
bool findLocalFile(const char* name);

// Opens the file to download, positions it at start and holds it for the
// packets to come, keeping its name for a read that fails later. Returns
// its size, or -1 when it cannot be opened or read, or is shorter than
// start (a resume past its end would leave the terminal a file that is not
// this one); the reason is kept for the operator.
int64_t holdLocalFileFrom(const char* name, int64_t start);

}  // namespace zelo
