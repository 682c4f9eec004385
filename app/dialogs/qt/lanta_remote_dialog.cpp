#include "dialogs/qt/lanta_remote_dialog.hpp"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/lanta_remote.hpp"
#include "dialogs/qt/choice_buttons.hpp"
#include "dialogs/qt/display_text.hpp"

namespace zelo::dialogs {

CLantaRemoteDlg::CLantaRemoteDlg(const std::string& configPath, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Lanta リモート設定");
    configPath_ = new QLineEdit(DisplayText(configPath), this);
    configPath_->setObjectName("configPath");
    // No length limit on the edit: it would cut a browsed path silently and
    // name another file; OK refuses a path longer than the configuration keeps.
    configPath_->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Lanta 設定ファイル", this));
    layout->addWidget(configPath_);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    QPushButton* browse = buttons->addButton("ブラウズ", QDialogButtonBox::ActionRole);
    browse->setObjectName("browse");
    connect(browse, &QPushButton::clicked, this, &CLantaRemoteDlg::BrowseClicked);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::string CLantaRemoteDlg::ConfigPath() const { return StoredText(configPath_->text()); }

void CLantaRemoteDlg::BrowseClicked() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, {}, {}, "CFG files (*.K40);;All files (*.*)");
    if (!chosen.isEmpty()) configPath_->setText(chosen);
}

bool ExecLantaRemoteDlg(QWidget* parent, core::Platform& platform, core::ModelState& state,
                        core::CommandArguments& args) {
    CLantaRemoteDlg dialog(state.lists.lantaConfigName, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const LantaCommand command = PrepareLantaCommand(platform, dialog.ConfigPath(), state, args);
    if (!command.message.empty()) ShowDialogMessage(parent, DisplayText(command.message));
    return command.start;
}

}  // namespace zelo::dialogs
