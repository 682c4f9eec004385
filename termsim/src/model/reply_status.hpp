// The result numbers a terminal answers with; the host's link call returns
// them unchanged. Some numbers mean different things to different calls.
#pragma once

#include <cstdint>
#include <string>

#include "wire_message.hpp"

namespace termsim::status {

inline constexpr std::uint8_t kReplyText = 1;  // reply in the payload; also "packet follows"
inline constexpr std::uint8_t kIllegal = 2;    // an unknown or malformed request text
inline constexpr std::uint8_t kEnd = 3;        // no more upload data; no poll record
inline constexpr std::uint8_t kAccepted = 4;
inline constexpr std::uint8_t kDone = 6;
inline constexpr std::uint8_t kRefused = 7;  // refused; no such file
inline constexpr std::uint8_t kInFlash = 8;  // the file is in flash ROM
inline constexpr std::uint8_t kNone = 9;     // nothing to report (no program, no id)
inline constexpr std::uint8_t kIllegalDownload = 128;

}  // namespace termsim::status

namespace termsim {

inline pendra::wire::Reply statusReply(std::uint8_t status) { return {status, {}, false}; }

inline pendra::wire::Reply textReply(std::string text) {
    return {status::kReplyText, std::move(text), false};
}

}  // namespace termsim
