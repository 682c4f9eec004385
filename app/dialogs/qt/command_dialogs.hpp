#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "core/program_model.hpp"

namespace zelo::dialogs {

// "コマンドライン設定": AUTO_EXIT and SHOW_ERROR_BOX, started from the
// file. True on OK, after both were stored and saved; the caller repaints.
bool ExecCommandLineDlg(QWidget* parent, core::ProgramModel& view);

// The one-line prompt of the file-exists, send-data, password and
// executable-area-size commands, titled with the command's prompt: the
// typed text on OK (empty included), nothing on Cancel or for another
// command code. The caller puts it into the command's text argument and
// starts the command. Texts the command cannot carry are refused while the
// dialog stays open.
std::optional<std::string> ExecTextInputDlg(QWidget* parent, int commandCode);

}  // namespace zelo::dialogs
