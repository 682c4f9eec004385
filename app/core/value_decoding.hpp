#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelo::core {

// How configuration values are decoded. Every function accepts any text:
// the file is edited by hand and is not trusted.

// A plain decimal conversion: optional blanks and sign, then the leading
// digits; no digits give 0. Values beyond int saturate instead of wrapping.
int DecodeInteger(std::string_view text);

// The character at `position`, upper-cased; NUL when the text is shorter.
// Yes/no and choice keys are told apart by one such letter.
char UpperLetterAt(std::string_view text, std::size_t position);

// A time text split at each ':' into hour, minute and second, each read as
// a decimal number; missing parts are 0.
struct TimeParts {
    int hour = 0;
    int minute = 0;
    int second = 0;
};
TimeParts ParseTimeText(std::string_view text);

// ParseTimeText's parts written back as "hh:mm:ss": 7:5 becomes 07:05:00.
std::string NormalizeTimeText(std::string_view text);

// Keeps only terminal addresses: 'A' to 'Y' (lower case upper-cased) and '0'
// to '6'; everything else ('Z' included) is dropped.
std::string FilterAddresses(std::string_view text);

// The baud index of a line speed in bits per second; 9600's for any other.
int BaudIndexOfRate(int rate);
// The line speed of a baud index, for the configuration file.
long BaudRateOfIndex(int index);

}  // namespace zelo::core
