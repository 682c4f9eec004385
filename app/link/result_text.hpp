#pragma once

#include <string_view>

namespace zelo::link {

// The program's own code for lines that only inform and carry no result.
inline constexpr int kInformationOnly = -1;
// The library's result for "power saving could not be turned off".
inline constexpr int kPowerSavingOffFailed = 9;

// The words a result line ends with for a library result code; empty for
// kInformationOnly and for codes the table does not know.
std::string_view ResultText(int code);

}  // namespace zelo::link
