#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelo::dialogs {

// The sorted list of phone lines the phone book and dial dialogs show, with
// its selection. Sorted like the list box: by the padded name, without
// regard to case. Holds at most kMaxPhoneLines lines.
class PhoneList {
public:
    // The first lines (at most the book's size), sorted; the first selected.
    explicit PhoneList(const std::vector<std::string>& lines);

    const std::vector<std::string>& Lines() const { return lines_; }
    std::optional<std::size_t> Selection() const { return selection_; }
    void Select(std::optional<std::size_t> index);
    std::optional<std::string> SelectedLine() const;

    // Puts the line at its sorted place and selects it; false when the list
    // is full.
    bool Insert(std::string line);
    // Removes the selected line; the line before it is then selected, or
    // none when it was the first. Nothing happens without a selection.
    void RemoveSelected();

private:
    std::vector<std::string> lines_;
    std::optional<std::size_t> selection_;
};

// The phone book's buttons; each returns the message to show, empty when
// the list took the change.
// "新規追加": both edits must hold text.
std::string AddPhoneEntry(PhoneList& list, std::string_view name, std::string_view number);
// "編集": replaces the selected line (adds one when none is selected).
std::string EditPhoneEntry(PhoneList& list, std::string_view name, std::string_view number);

inline constexpr std::string_view kAddEmptyMessage = "PhoneNo and Name can't be empty !";
inline constexpr std::string_view kEditEmptyMessage = "Phone no and name can't be empty !";
inline constexpr std::string_view kBookFullMessage =
    "The phone book holds 100 entries. Delete one before adding another.";

}  // namespace zelo::dialogs
