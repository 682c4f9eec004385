#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "core/program_model.hpp"
#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {

// A list entry's longest name: the configuration keeps 119 characters.
inline constexpr std::size_t kMaxListName = 119;
using ListNames = std::array<std::string, core::kListFiles>;

// The download list editor: twelve names, the edit that last had the focus
// (the browse button's target) and the names as they were at the start.
class DownloadListForm {
public:
    // The dialog always starts from the file.
    static DownloadListForm Open(core::ProgramModel& view);
    explicit DownloadListForm(const ListNames& files) : files_(files), savedFiles_(files) {}

    const ListNames& Files() const { return files_; }
    // 1..12; 1 until an edit gets the focus.
    int CurrentEdit() const { return currentEdit_; }

    // An edit (numbered 1..12) got the focus.
    void FocusEdit(int number);
    // An edit's text changed (entry 0..11).
    void SetFile(std::size_t index, std::string text);
    // The browse button chose `path`: it goes into the entry of the edit
    // that last had the focus. A path longer than the entry holds is
    // refused, and nothing changes.
    Refusal Browse(std::string path);
    // Cancel: every entry as it was when the dialog opened.
    void Cancel() { files_ = savedFiles_; }

    // Why OK cannot take the names: one longer than an entry holds.
    Refusal Check() const;

private:
    ListNames files_;
    ListNames savedFiles_;
    int currentEdit_ = 1;
};

// OK, after Check accepted the names: stores them and saves. False when the
// file was not written.
bool ConfirmDownloadList(core::ProgramModel& view, const DownloadListForm& form);

// The entries' check, shared with the upload list: "File 3 is ...".
Refusal CheckListNames(const ListNames& names);

}  // namespace zelo::dialogs
