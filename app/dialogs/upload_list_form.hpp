#pragma once

#include <array>

#include "core/library_settings.hpp"
#include "core/program_model.hpp"
#include "dialogs/download_list_form.hpp"
#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {

// The upload list editor's fields; entry i of each array is row i + 1.
struct UploadListFields {
    ListNames files;
    std::array<int, core::kListFiles> deleteFlags{};
    int loop = 0;
    int period = 60;     // seconds between two rounds of a looping upload
    int saveMethod = 0;  // 0 new, 1 over-write, 2 append
};

// The dialog always starts from the file.
UploadListFields OpenUploadList(core::ProgramModel& view);

// Why OK cannot take the fields: a name longer than its entry holds, a name
// that is not a plain file name (each upload is saved inside its terminal's
// ADDR_x folder, and such a name would be refused there at every run), or a
// period the loop's countdown cannot count to.
Refusal CheckUploadList(const UploadListFields& fields);

// OK, after CheckUploadList accepted the fields: stores them, hands the
// library the save method and saves. False when the file was not written.
bool ConfirmUploadList(core::ProgramModel& view, const UploadListFields& fields,
                       core::LibrarySettings& library);

}  // namespace zelo::dialogs
