#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model_records.hpp"

namespace zelo::dialogs {

// A phone line is how the modem, phone book and dial dialogs show one entry:
// the name left-aligned in 30 characters, then the number from character 30.
inline constexpr std::size_t kPhoneField = 30;
inline constexpr std::size_t kMaxPhoneLines = core::kPhoneBookEntries;

// The used entries (those with a number) in entry order, each as
// "%-30s%-30s" of its name and number, both cut to 30 characters.
std::vector<std::string> BuildPhoneLines(const core::PhoneBook& book);

// A line the phone book adds from its edits: "%-30s%s" of name and number.
std::string TypedPhoneLine(std::string_view name, std::string_view number);

// The edits a double click fills: characters 0 to 29 (padding included) and
// the text from character 30 on.
struct PhoneLineParts {
    std::string name;
    std::string number;
};
PhoneLineParts SplitPhoneLine(std::string_view line);

// The modem dialog's OK: entry k is rebuilt from line k, so the entries are
// numbered from 1 in the list's order and the unused ones come last. A line
// of 30 characters or fewer leaves its entry unused.
void StorePhoneLines(const std::vector<std::string>& lines, core::PhoneBook& book);

// The number a chosen dial line holds: up to 30 characters from character 30
// on, padding included; nothing when the line has no number part.
std::optional<std::string> DialNumberOfLine(std::string_view line);

}  // namespace zelo::dialogs
