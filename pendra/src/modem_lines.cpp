#include "modem_lines.hpp"

namespace pendra {

int16_t modemResultNumber(std::string_view line) {
    struct Word {
        std::string_view text;
        int16_t number;
    };
    // NO CARRIER before CARRIER and NO DIALTONE before anything shorter, as
    // the test is by prefix.
    static constexpr Word kWords[] = {
        {"OK", 1},           {"CONNECT", 2}, {"RING", 3},      {"NO CARRIER", 4}, {"ERROR", 5},
        {"NO DIALTONE", 6},  {"BUSY", 7},    {"NO ANSWER", 8}, {"CARRIER", 9},    {"DELAYED", 10},
        {"BLACKLISTED", 10}, {"FAX", 10},    {"DATA", 10},
    };
    for (const Word& word : kWords) {
        if (line.substr(0, word.text.size()) == word.text) return word.number;
    }
    return 0;
}

void ModemLineCollector::feed(const uint8_t* data, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const char c = static_cast<char>(data[i]);
        const bool ends = c == '\r' || c == '\n';
        if (!ends) partial_.push_back(c);
        if (ends || partial_.size() >= kMaxLine) {
            if (!partial_.empty() && complete_.size() < 16 * kMaxLine) {
                complete_ += partial_;
                complete_ += '\n';
            }
            partial_.clear();
        }
    }
}

std::optional<std::string> ModemLineCollector::nextLine() {
    const auto end = complete_.find('\n');
    if (end == std::string::npos) return std::nullopt;
    std::string line = complete_.substr(0, end);
    complete_.erase(0, end + 1);
    return line;
}

void ModemLineCollector::clear() {
    partial_.clear();
    complete_.clear();
}

}  // namespace pendra
