#pragma once

#include <QDialog>
#include <string>

#include "core/command_table.hpp"
#include "core/core_platform.hpp"
#include "core/model_state.hpp"

class QLineEdit;

namespace zelo::dialogs {

// "Lanta リモート設定": the path of the Lanta configuration file, typed or
// chosen with "ブラウズ".
class CLantaRemoteDlg : public QDialog {
public:
    explicit CLantaRemoteDlg(const std::string& configPath, QWidget* parent = nullptr);
    std::string ConfigPath() const;

private:
    void BrowseClicked();

    QLineEdit* configPath_;
};

// The "Lanta CFG" command: on OK the file must exist; its record is built
// into args.lantaRecord and its path kept in the configuration's records.
// True when the caller is to start the Lanta table command (kLantaTable); every message (a missing
// file, a file without fields, a file the record cannot hold) is shown
// here first.
bool ExecLantaRemoteDlg(QWidget* parent, core::Platform& platform, core::ModelState& state,
                        core::CommandArguments& args);

}  // namespace zelo::dialogs
