#include "dialogs/field_checks.hpp"

#include <charconv>

namespace zelo::dialogs {

CheckedInteger CheckIntegerInRange(std::string_view text, int low, int high) {
    CheckedInteger checked;
    checked.message = "Please enter an integer between " + std::to_string(low) + " and " +
                      std::to_string(high) + ".";
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || value < low || value > high) {
        return checked;
    }
    checked.value = value;
    checked.message.clear();
    return checked;
}

std::string CheckMaxCharacters(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return {};
    return "Please enter no more than " + std::to_string(limit) + " characters.";
}

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
