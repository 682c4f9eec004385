// The request texts of a download, sent with the generic request to the
// terminal, and what their results mean.
//
//   announce  "L" name            resume  "L" name "[" offset "]"
//   data      "Y" escaped bytes   end     "Z"       cancel  "z"
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "escaped_form.hpp"
#include "link_interface.hpp"
#include "single_request.hpp"
#include "zelodll.h"

namespace zelo {

// Data packets travel in 256-byte buffers: 120 file bytes escaped, with the
// leading "Y", always fit.
inline constexpr std::size_t kDataRequestSize = 256;

inline constexpr int16_t kRequestAccepted = PENDRA_ACCEPTED;

// Sends `prefix` followed by `text` in a request buffer of N bytes. The caller
// has checked that the two fit.
template <std::size_t N>
[[nodiscard]] int16_t sendDownloadRequest(int16_t to, std::string_view prefix,
                                          std::string_view text = {}) {
    RequestBuffer<N> request;
    request.assign(prefix, text);
    return Pendra_DBG(linkHandle(), to, request.data(), request.lengthByte());
}

// The data packet for `bytes`; false, sending nothing, when its escaped form
// does not fit the buffer.
inline bool dataPacketFits(std::string_view bytes) {
    return bytes.size() < kDataRequestSize && 1 + escaped(bytes).size() < kDataRequestSize;
}

[[nodiscard]] inline int16_t sendDataPacket(int16_t to, std::string_view bytes) {
    return sendDownloadRequest<kDataRequestSize>(to, "Y", escaped(bytes));
}

inline void acknowledgeDownload(int16_t to) { Pendra_ACK(linkHandle(), to); }

// The cancel request "z", acknowledged when the terminal accepts it. Sent
// on paths that have failed already, so its result may be dropped: a
// terminal that missed it still holds the transfer uncommitted, and the
// next announce replaces it.
inline int16_t sendDownloadCancel(int16_t to) {
    const int16_t result = sendDownloadRequest<128>(to, "z");
    if (result == kRequestAccepted) acknowledgeDownload(to);
    return result;
}

// The translation shared by the calls that end a download.
[[nodiscard]] inline int32_t translateDownloadEnd(int32_t result) {
    return translate(result, {PENDRA_ACCEPTED},
                     {{kStoppedResult, ZELO_STOPPED},
                      {PENDRA_ILLEGAL, ZELO_ILLEGAL_COMMAND},
                      {PENDRA_DAMAGED_REPLY, ZELO_BAD_BLOCK}});
}

}  // namespace zelo
