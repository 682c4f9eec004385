#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {

Refusal CheckRange(int value, int low, int high) {
    if (value >= low && value <= high) return {};
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

Refusal CheckLength(std::string_view text, std::size_t limit, std::string_view what) {
    if (text.size() <= limit) return {};
    return std::string(what) + " is " + std::to_string(text.size()) + " characters long; at most " +
           std::to_string(limit) + " fit.";
}

}  // namespace zelo::dialogs
