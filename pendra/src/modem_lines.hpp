// The modem's answers while the line is in command mode: bytes gathered into
// lines, and each line's result number for Pendra_ModemEcho.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pendra {

// Result numbers of Pendra_ModemEcho, by the line's first word(s):
// 1 OK, 2 CONNECT, 3 RING, 4 NO CARRIER, 5 ERROR, 6 NO DIALTONE, 7 BUSY,
// 8 NO ANSWER, 9 CARRIER, 10 another final result (DELAYED, BLACKLISTED,
// FAX, DATA); 0 for any other line (the echo of the command, for one).
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
