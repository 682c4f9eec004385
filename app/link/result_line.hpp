#pragma once

#include <string>
#include <string_view>

namespace zelo::link {

// Appended to the result text when the terminal's power saving could not be
// switched back on after the command.
inline constexpr std::string_view kPowerSavingOnFailedSuffix = ", but fail to set power saving on";

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// What one terminal's outcome says: the terminal address (blank for lines that
// concern the whole line), what was done, its detail, and the library code.
struct ResultReport {
    char address = ' ';
    std::string_view label;
    std::string_view detail;
    int code = 0;
};

// The line for the Message Window and ERR_LOG.TXT: address, time of day,
// label, detail and result text separated by single blanks, ending in CR LF.
std::string FormatResultLine(const ResultReport& report, TimeOfDay time,
                             std::string_view resultText);

// The text of the error box of command-line mode: the line without its time
// and without its line end.
std::string FormatErrorBoxText(const ResultReport& report, std::string_view resultText);

// Whether a result line also reports that power saving could not be switched
// back on: only for real results other than the power-saving failure itself.
bool TakesPowerSavingSuffix(int code);

}  // namespace zelo::link
