#pragma once

#include <QWidget>
#include <optional>

#include "core/model_state.hpp"
#include "core/user_interface.hpp"
#include "dialogs/qt/gui_requests.hpp"

namespace zelo::dialogs {

// "ディレクトリから選択" under download: PC files gathered with the browse
// button. True on OK with at least one file, after they became the picked
// files in sorted order; the caller then starts the download of chosen
// files. The addresses are shown, not used.
bool ExecPcFileBrowseDlg(QWidget* parent, core::ModelState& state);

// The terminal-file choice dialog (upload and erase of chosen files): the
// chosen names with the address and scope, nothing on Cancel.
// Runs on the user interface thread; it copies what the request points to
// when it opens and touches nothing else of the view.
std::optional<core::PickAnswer> ExecMultiFileBrowseDlg(QWidget* parent,
                                                       const core::PickRequest& request);

// The program choice dialog (auto-run and run): one program name of at most
// 19 characters with the address and scope, nothing on Cancel.
std::optional<core::PickAnswer> ExecTerminalFileBrowseDlg(QWidget* parent,
                                                          const core::PickRequest& request);

// The one the request asks for: the program choice when programChoice is
// set, the terminal-file choice otherwise.
std::optional<core::PickAnswer> ExecPickDialog(QWidget* parent, const core::PickRequest& request);

// For the worker's UserInterface::PickTerminalFiles: shows the dialog the
// request asks for on the user interface thread and waits for it; nothing
// on Cancel or when `stopped` (the connection object's stop flag) is set
// before the answer. The request is copied; its listings stay the view's,
// which the worker leaves alone while it waits.
std::optional<core::PickAnswer> PickOnGuiThread(GuiRequests& gui, QWidget* parent,
                                                const core::PickRequest& request,
                                                const std::function<bool()>& stopped);

}  // namespace zelo::dialogs
