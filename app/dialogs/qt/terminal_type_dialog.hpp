#pragma once

#include <QWidget>

#include "core/library_settings.hpp"
#include "core/program_model.hpp"

namespace zelo::dialogs {

// "ターミナル(&T)": the terminal model and its standard delays. True on
// OK, after the type, the preset and the file were written.
bool ExecTerminalTypeDlg(QWidget* parent, core::ProgramModel& view,
                         core::LibrarySettings& library = core::ZeloDllSettings());

}  // namespace zelo::dialogs
