#pragma once

#include <QWidget>

#include "core/program_model.hpp"
#include "dialogs/library_settings.hpp"

namespace zelo::dialogs {

// "ターミナル(&T)": the terminal model and its standard delays. True on
// OK, after the type, the preset and the file were written.
bool ExecTerminalTypeDlg(QWidget* parent, core::ProgramModel& view,
                         LibrarySettings& library = ZeloDllSettings());

}  // namespace zelo::dialogs
