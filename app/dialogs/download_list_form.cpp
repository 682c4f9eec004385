#include "dialogs/download_list_form.hpp"

namespace zelo::dialogs {

DownloadListForm DownloadListForm::Open(core::ProgramModel& view) {
    view.ReloadConfiguration();
    return DownloadListForm(view.State().lists.downloadFiles);
}

void DownloadListForm::FocusEdit(int number) {
    if (number >= 1 && number <= static_cast<int>(core::kListFiles)) currentEdit_ = number;
}

void DownloadListForm::SetFile(std::size_t index, std::string text) {
    if (index < files_.size()) files_[index] = std::move(text);
}

Refusal DownloadListForm::Browse(std::string path) {
    Refusal refusal = CheckLength(path, kMaxListName, "The chosen path");
    if (!refusal.empty()) return refusal;
    files_[static_cast<std::size_t>(currentEdit_ - 1)] = std::move(path);
    return {};
}

Refusal DownloadListForm::Check() const { return CheckListNames(files_); }

Refusal CheckListNames(const ListNames& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        Refusal refusal = CheckLength(names[i], kMaxListName, "File " + std::to_string(i + 1));
        if (!refusal.empty()) return refusal;
    }
    return {};
}

bool ConfirmDownloadList(core::ProgramModel& view, const DownloadListForm& form) {
    view.State().lists.downloadFiles = form.Files();
    return view.SaveConfiguration();
}

}  // namespace zelo::dialogs
