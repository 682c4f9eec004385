// The requests that the stepwise and whole-file uploads share, and the
// acknowledgement every transfer sends after a packet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "link_interface.hpp"
#include "single_request.hpp"
#include "zelodll.h"

namespace zelo {

// Upload requests and packets travel in 256-byte buffers.
inline constexpr std::size_t kUploadRequestSize = 256;

inline constexpr int16_t kLinkAccepted = PENDRA_ACCEPTED;
inline constexpr int16_t kLinkPacket = PENDRA_REPLY;
inline constexpr int16_t kLinkEnd = PENDRA_END;

// A caller's text of a measured length; a null pointer is an empty text.
inline std::string_view textOf(const char* text, std::size_t length) {
    return text == nullptr ? std::string_view{} : std::string_view{text, length};
}

inline void acknowledge(int16_t to) { Pendra_ACK(linkHandle(), to); }

// The upload request (a remote name, or a name with a resume offset). The
// caller has checked that the text fits.
[[nodiscard]] inline int16_t sendUploadRequest(int16_t to, std::string_view text) {
    RequestBuffer<kUploadRequestSize> request;
    request.assign(text);
    return Pendra_ESC_U(linkHandle(), to, request.data(), request.length);
}

// The cancel request "y": the terminal stops sending the file. Its result
// may be dropped: it goes out only before a resume, which sets where the
// terminal sends from anyway, or on a path that has failed already.
inline int16_t sendUploadCancel(int16_t to) {
    RequestBuffer<128> request;
    request.assign("y");
    return Pendra_DBG(linkHandle(), to, request.data(), request.lengthByte());
}

// What an upload request's refusal means, for the calls that open a transfer
// and for the packet call to memory.
inline int32_t translateUploadRequest(int32_t result) {
    return translate(result, {},
                     {{PENDRA_DAMAGED_REPLY, ZELO_NAK}, {PENDRA_REFUSED, ZELO_NO_SUCH_FILE}});
}

}  // namespace zelo
