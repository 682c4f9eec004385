#pragma once

#include <QWidget>

#include "core/library_settings.hpp"
#include "core/program_model.hpp"

namespace zelo::dialogs {

// "設定ダウンロード(&D)": the twelve files of the download list, started
// from the file. True on OK, after the list was stored and saved; the
// caller repaints the main view.
bool ExecDownloadListDlg(QWidget* parent, core::ProgramModel& view);

// "設定アップロード(&U)": the upload list with its delete flags, save
// method and loop. True on OK, after the settings were stored, the save
// method handed to the library and the file saved.
bool ExecUploadListDlg(QWidget* parent, core::ProgramModel& view,
                       core::LibrarySettings& library = core::ZeloDllSettings());

}  // namespace zelo::dialogs
