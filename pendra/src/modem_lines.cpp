#include "modem_lines.hpp"

#include "modem_result_words.hpp"

namespace pendra {

int16_t modemResultNumber(std::string_view line) {
    const zelo::modem::ResultWord* word = zelo::modem::FindResultWord(line);
    return word != nullptr ? word->echoNumber : int16_t{0};
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
