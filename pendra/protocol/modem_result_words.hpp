// The result words a Hayes modem answers its commands with. Each has the
// number the link layer reports for it (Pendra_ModemEcho) and its numeric
// result code in the Hayes command set, which the command library returns.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zelo::modem {

struct ResultWord {
    std::string_view word;
    int16_t echoNumber;
    int32_t hayesCode;
};

// The echo number of every final result without a number of its own.
inline constexpr int16_t kOtherFinalResult = 10;

// A line is tested by its beginning ("CONNECT 9600" is CONNECT). No word
// begins another, so the order of the test does not matter.
inline constexpr std::array<ResultWord, 13> kResultWords = {{
    {"OK", 1, 0},
    {"CONNECT", 2, 1},
    {"RING", 3, 2},
    {"NO CARRIER", 4, 3},
    {"ERROR", 5, 4},
    {"NO DIALTONE", 6, 6},
    {"BUSY", 7, 7},
    {"NO ANSWER", 8, 8},
    {"DELAYED", kOtherFinalResult, 24},
    {"BLACKLISTED", kOtherFinalResult, 32},
    {"FAX", kOtherFinalResult, 33},
    {"DATA", kOtherFinalResult, 35},
    {"CARRIER", 9, 40},
}};

// The word `line` begins with; null for a line that is no result (the
// echo of the command, for one).
constexpr const ResultWord* FindResultWord(std::string_view line) {
    for (const ResultWord& entry : kResultWords) {
        if (line.starts_with(entry.word)) return &entry;
    }
    return nullptr;
}

}  // namespace zelo::modem
