#include "core/poll_display.hpp"

namespace zelo::core {

std::string PollDisplayLine(char address, std::string_view record) {
    constexpr std::size_t kLongestAdjusted = 510;
    std::string line;
    line += address;
    line += ' ';
    line += record;
    if (line.size() < kLongestAdjusted && line.back() != '\n') {
        if (line.back() == '\r') line.back() = ' ';
        line += '\n';
    }
    return line;
}

}  // namespace zelo::core
