#pragma once

#include <string_view>

namespace zelo::link {

// The program's own code for lines that only inform and carry no result.
inline constexpr int kInformationOnly = -1;
// The library's result for "power saving could not be turned off".
inline constexpr int kPowerSavingOffFailed = 9;

// The words a failed command's result line ends with, whatever its code,
// once the library says the line was lost (the device failed or went away):
// the code then only says how the command met the loss.
inline constexpr std::string_view kLineLostText = "Line lost";

// The words a result line ends with for a library result code; empty for
// kInformationOnly and for codes the table does not know.
std::string_view ResultText(int code);

}  // namespace zelo::link
