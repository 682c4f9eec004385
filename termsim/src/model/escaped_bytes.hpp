// The terminal's reading of the escaped form in which the host sends packet
// bytes inside request texts (downloads and send-data):
//
//   backslash, 80..9F   the byte with bit 7 cleared (00..1F)
//   backslash, 5C       5C itself
//   backslash, 20..7F   the byte with bit 7 set (A0..FF; 5C stands for DC
//                       only in its plain form, see below)
//   20..9F and DC       the byte itself
//
// The host never writes a plain control byte, a plain A0..FF other than DC,
// or a backslash followed by anything else; such input is refused rather
// than guessed at, so a damaged packet cannot become wrong file contents.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace termsim {

std::optional<std::string> decodeEscaped(std::string_view escaped);

}  // namespace termsim
