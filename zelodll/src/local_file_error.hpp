// Why the local file of the last upload or download failed, kept for the
// operator: the file, what was being done to it and the system's reason
// ("/data/A/X.DAT: cannot create: Permission denied"). The result codes say
// only that the local file failed; this says why.
#pragma once

#include <string>
#include <string_view>

namespace zelo {

// Forgets the last failure: every transfer call that opens a local file
// starts with it.
void clearLocalFileError();

// Records that `action` ("cannot create") failed on `path`, with the reason
// the system gave for the file call that has just failed. Call it at once,
// before any other system call can replace that reason.
void noteLocalFileError(std::string_view path, std::string_view action);

// The recorded text; empty when the last transfer's local file did not fail.
const std::string& localFileError();

}  // namespace zelo
