#include "link/exec_area_size.hpp"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace zelo::link {

ExecAreaSizeText ReadExecAreaSize(std::string_view text) {
    constexpr long kHeld = 99999;
    const std::string terminated(text);
    const long parsed = std::strtol(terminated.c_str(), nullptr, 10);

    const std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    std::string_view digits =
        begin == std::string_view::npos ? std::string_view() : text.substr(begin, end - begin + 1);
    if (digits.starts_with('-')) digits.remove_prefix(1);
    const bool whole = !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                                      [](char c) { return c >= '0' && c <= '9'; });
    return {static_cast<int>(std::clamp(parsed, -kHeld, kHeld)), whole};
}

}  // namespace zelo::link
