#include "dialogs/upload_list_form.hpp"

#include <limits>

#include "link/upload_folder.hpp"

namespace zelo::dialogs {

UploadListFields OpenUploadList(core::ProgramModel& view) {
    view.ReloadConfiguration();
    const core::TransferLists& lists = view.State().lists;
    UploadListFields fields;
    fields.files = lists.uploadFiles;
    fields.deleteFlags = lists.deleteAfterUpload;
    fields.loop = lists.uploadLoop;
    fields.saveMethod = lists.uploadSaveMode;
    fields.period = lists.uploadPeriod;
    return fields;
}

Refusal CheckUploadList(const UploadListFields& fields) {
    Refusal refusal = CheckListNames(fields.files);
    if (!refusal.empty()) return refusal;
    for (std::size_t i = 0; i < fields.files.size(); ++i) {
        const std::string& name = fields.files[i];
        if (!name.empty() && !link::IsPlainFileName(name)) {
            return "File " + std::to_string(i + 1) + " (" + name +
                   ") is not a plain file name: uploads are saved inside each terminal's "
                   "ADDR_x folder.";
        }
    }
    // The countdown runs period + 1 steps.
    if (fields.period == std::numeric_limits<int>::max()) {
        return CheckRange(fields.period, std::numeric_limits<int>::min(),
                          std::numeric_limits<int>::max() - 1);
    }
    return CheckRange(fields.saveMethod, 0, 2);
}

bool ConfirmUploadList(core::ProgramModel& view, const UploadListFields& fields,
                       core::LibrarySettings& library) {
    core::TransferLists& lists = view.State().lists;
    lists.uploadFiles = fields.files;
    for (std::size_t i = 0; i < fields.deleteFlags.size(); ++i) {
        lists.deleteAfterUpload[i] = fields.deleteFlags[i] != 0 ? 1 : 0;
    }
    lists.uploadLoop = fields.loop != 0 ? 1 : 0;
    lists.uploadSaveMode = fields.saveMethod;
    lists.uploadPeriod = fields.period;
    library.SetUploadSaveMode(lists.uploadSaveMode);
    return view.SaveConfiguration();
}

}  // namespace zelo::dialogs
