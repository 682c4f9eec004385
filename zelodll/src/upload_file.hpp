// The local file of an upload. The packets go into a temporary beside the
// destination, which takes the destination's place in one step only when
// the upload has ended well: a failed, stopped or cut-off upload leaves the
// earlier file of that name exactly as it was.
#pragma once

#include <cstdint>
#include <string>

namespace zelo {

// The temporary that an upload into `destination` writes.
std::string uploadTemporaryName(const std::string& destination);

// Opens the temporary for `destination` and holds it as the upload file.
// Save mode 2 (append) starts it as a copy of an existing destination and
// puts its length in the transfer's append base; every other mode starts it
// empty. False when it cannot be made (the destination is untouched, and the
// reason noted as the local file error).
bool beginUploadFile(const std::string& destination, int32_t saveMode);

// The whole-file check a terminal sends with the end of an upload: CRC-32
// and length of its file, 4 bytes each, low byte first.
inline constexpr int32_t kUploadCheckBytes = 8;

// The upload has ended well: when `check` is given (kUploadCheckBytes
// bytes), what this transfer wrote must match it. The temporary is then put
// on stable storage and in place of the destination. On a failure the
// temporary is removed and the destination is as it was. ZELO_OK, ZELO_BAD_BLOCK when the check
// fails, ZELO_CANNOT_OPEN_LOCAL when the file cannot be put in place.
int32_t installUploadFile(const unsigned char* check);

// The upload failed or was stopped: the temporary is closed and removed.
// Nothing happens when no upload file is open.
void dropUploadFile();

}  // namespace zelo
