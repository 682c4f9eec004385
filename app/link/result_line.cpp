#include "link/result_line.hpp"

#include <cstdio>

#include "link/result_text.hpp"

namespace zelo::link {
namespace {

// Two digits at least, as "%.2d" writes them (a negative value keeps its sign).
std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2d", value);
    return text;
}

}  // namespace

std::string FormatResultLine(const ResultReport& report, TimeOfDay time,
                             std::string_view resultText) {
    std::string line;
    line.reserve(24 + report.label.size() + report.detail.size() + resultText.size());
    line += report.address;
    line += ' ';
    line += TwoDigits(time.hour);
    line += ':';
    line += TwoDigits(time.minute);
    line += ':';
    line += TwoDigits(time.second);
    line += ' ';
    line += report.label;
    line += ' ';
    line += report.detail;
    line += ' ';
    line += resultText;
    line += "\r\n";
    return line;
}

std::string FormatErrorBoxText(const ResultReport& report, std::string_view resultText) {
    std::string text;
    text += report.address;
    text += ' ';
    text += report.label;
    text += ' ';
    text += report.detail;
    text += ' ';
    text += resultText;
    return text;
}

bool TakesPowerSavingSuffix(int code) {
    return code != kPowerSavingOffFailed && code != kInformationOnly;
}

}  // namespace zelo::link
