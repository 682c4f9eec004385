#include "dialogs/phone_list.hpp"

#include <algorithm>
#include <cctype>

#include "dialogs/field_checks.hpp"
#include "dialogs/phone_lines.hpp"

namespace zelo::dialogs {
namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const auto upper = [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return upper(x) < upper(y); });
}

// The checks the edits' limits make when a button reads them.
std::string CheckFields(std::string_view name, std::string_view number,
                        std::string_view emptyMessage) {
    Refusal message = CheckLength(name, kPhoneField);
    if (message.empty()) message = CheckLength(number, kPhoneField);
    if (message.empty() && (name.empty() || number.empty())) message = emptyMessage;
    return message;
}

}  // namespace

PhoneList::PhoneList(const std::vector<std::string>& lines) {
    const std::size_t count = std::min(lines.size(), kMaxPhoneLines);
    for (std::size_t i = 0; i < count; ++i) Insert(lines[i]);
    selection_ = lines_.empty() ? std::nullopt : std::optional<std::size_t>(0);
}

void PhoneList::Select(std::optional<std::size_t> index) {
    selection_ = index && *index < lines_.size() ? index : std::nullopt;
}

std::optional<std::string> PhoneList::SelectedLine() const {
    if (!selection_) return std::nullopt;
    return lines_[*selection_];
}

bool PhoneList::Insert(std::string line) {
    if (lines_.size() >= kMaxPhoneLines) return false;
    // After any equal lines, as a sorted list box adds them.
    const auto at = std::upper_bound(lines_.begin(), lines_.end(), line, LessIgnoringCase);
    selection_ = static_cast<std::size_t>(at - lines_.begin());
    lines_.insert(at, std::move(line));
    return true;
}

void PhoneList::RemoveSelected() {
    if (!selection_) return;
    const std::size_t index = *selection_;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    selection_ = index > 0 ? std::optional<std::size_t>(index - 1) : std::nullopt;
}

std::string AddPhoneEntry(PhoneList& list, std::string_view name, std::string_view number) {
    std::string message = CheckFields(name, number, kAddEmptyMessage);
    if (!message.empty()) return message;
    if (!list.Insert(TypedPhoneLine(name, number))) return std::string(kBookFullMessage);
    return {};
}

std::string EditPhoneEntry(PhoneList& list, std::string_view name, std::string_view number) {
    std::string message = CheckFields(name, number, kEditEmptyMessage);
    if (!message.empty()) return message;
    if (!list.Selection() && list.Lines().size() >= kMaxPhoneLines) {
        return std::string(kBookFullMessage);
    }
    list.RemoveSelected();
    list.Insert(TypedPhoneLine(name, number));
    return {};
}

}  // namespace zelo::dialogs
