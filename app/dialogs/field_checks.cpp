#include "dialogs/field_checks.hpp"

#include <charconv>

namespace zelo::dialogs {
namespace {

Refusal RangeRefusal(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

std::optional<int> ParseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

}  // namespace

Refusal CheckRange(int value, int low, int high) {
    if (value >= low && value <= high) return {};
    return RangeRefusal(low, high);
}

CheckedInteger CheckIntegerText(std::string_view text, int low, int high) {
    CheckedInteger checked;
    const std::optional<int> value = ParseInteger(text);
    checked.refusal = value ? CheckRange(*value, low, high) : RangeRefusal(low, high);
    if (checked.refusal.empty()) checked.value = value;
    return checked;
}

Refusal CheckLength(std::string_view text, std::size_t limit, std::string_view what) {
    if (text.size() <= limit) return {};
    if (what.empty()) return "Please enter no more than " + std::to_string(limit) + " characters.";
    return std::string(what) + " is " + std::to_string(text.size()) + " characters long; at most " +
           std::to_string(limit) + " fit.";
}

}  // namespace zelo::dialogs
