#include "dialogs/phone_lines.hpp"

#include <algorithm>

namespace zelo::dialogs {
namespace {

// What the dialogs ever look at of a line: a name and a number field.
constexpr std::size_t kLineLimit = 2 * kPhoneField;

std::string_view Cut(std::string_view text, std::size_t limit) { return text.substr(0, limit); }

std::string Padded(std::string_view text) {
    std::string padded(text);
    if (padded.size() < kPhoneField) padded.resize(kPhoneField, ' ');
    return padded;
}

}  // namespace

std::vector<std::string> BuildPhoneLines(const core::PhoneBook& book) {
    std::vector<std::string> lines;
    for (const core::PhoneBook::Entry& entry : book.entries) {
        if (entry.number.empty()) continue;
        lines.push_back(Padded(Cut(entry.name, kPhoneField)) +
                        Padded(Cut(entry.number, kPhoneField)));
    }
    return lines;
}

std::string TypedPhoneLine(std::string_view name, std::string_view number) {
    return Padded(name) + std::string(number);
}

PhoneLineParts SplitPhoneLine(std::string_view line) {
    PhoneLineParts parts;
    parts.name = std::string(Cut(line, kPhoneField));
    if (line.size() > kPhoneField) parts.number = std::string(line.substr(kPhoneField));
    return parts;
}

void StorePhoneLines(const std::vector<std::string>& lines, core::PhoneBook& book) {
    for (std::size_t k = 0; k < book.entries.size(); ++k) {
        core::PhoneBook::Entry& entry = book.entries[k];
        const std::string_view line =
            k < lines.size() ? Cut(lines[k], kLineLimit) : std::string_view{};
        if (line.size() > kPhoneField) {
            entry.name = std::string(line.substr(0, kPhoneField));
            entry.number = std::string(line.substr(kPhoneField));
        } else {
            entry.name.clear();
            entry.number.clear();
        }
    }
}

std::optional<std::string> DialNumberOfLine(std::string_view line) {
    line = Cut(line, kLineLimit);
    if (line.size() <= kPhoneField) return std::nullopt;
    return std::string(line.substr(kPhoneField));
}

}  // namespace zelo::dialogs
