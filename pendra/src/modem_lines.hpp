// The modem's answers while the line is in command mode: bytes gathered into
// lines, and each line's result number for Pendra_ModemEcho.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pendra {

// The result number of Pendra_ModemEcho for a line, by the word it begins
// with (modem_result_words.hpp): 1 OK to 9 CARRIER, 10 another final
// result; 0 for any other line (the echo of the command, for one).
int16_t modemResultNumber(std::string_view line);

// Splits the modem's bytes into lines at CR or LF; empty lines are skipped
// and a line longer than kMaxLine is cut there.
class ModemLineCollector {
public:
    static constexpr std::size_t kMaxLine = 255;

    void feed(const uint8_t* data, std::size_t length);
    std::optional<std::string> nextLine();
    void clear();

private:
    std::string partial_;
    std::string complete_;  // finished lines, each ended by '\n'
};

}  // namespace pendra
