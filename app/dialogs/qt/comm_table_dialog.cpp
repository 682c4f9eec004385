#include "dialogs/qt/comm_table_dialog.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/qt/choice_buttons.hpp"
#include "dialogs/qt/dialog_kit.hpp"

namespace zelo::dialogs {
namespace {

ChoiceButtons* AddGroup(QWidget* dialog, QGridLayout* grid, int row, int column,
                        const QString& title, const char* name, const QStringList& captions,
                        int rowSpan = 1) {
    auto* group = new QGroupBox(title, dialog);
    auto* layout = new QVBoxLayout(group);
    auto* buttons = new ChoiceButtons(name, captions, group, true);
    layout->addWidget(buttons);
    grid->addWidget(group, row, column, rowSpan, 1);
    return buttons;
}

}  // namespace

CCommTableDlg::CCommTableDlg(const CommTableForm& form, QWidget* parent)
    : QDialog(parent), form_(form) {
    setWindowTitle("通信パラメータ変更");
    auto* grid = new QGridLayout;
    baud_ = AddGroup(
        this, grid, 0, 0, "転送速度(&B)", "baud",
        {"110", "300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600"}, 3);
    dataBits_ = AddGroup(this, grid, 0, 1, "データ長(&D)", "dataBits", {"7", "8"});
    parity_ = AddGroup(this, grid, 1, 1, "パリティ(&a)", "parity", {"なし", "奇数", "偶数"});
    stopBits_ = AddGroup(this, grid, 2, 1, "ストップ(&S)", "stopBits", {"1", "2"});

    changePc_ = new QCheckBox("PC パラメータ変更", this);
    changePc_->setObjectName("changePcParameters");
    timeout_ = new QLineEdit(QString::number(form.timeout), this);
    timeout_->setObjectName("timeout");
    timeout_->setMaximumWidth(60);
    auto* timeoutRow = new QHBoxLayout;
    timeoutRow->addWidget(new QLabel("タイムアウト", this));
    timeoutRow->addWidget(timeout_);
    timeoutRow->addWidget(new QLabel("/ 10 秒", this));
    timeoutRow->addStretch();

    baud_->SetIndex(form.baudIndex);
    dataBits_->SetIndex(form.dataBitsIndex);
    parity_->SetIndex(form.parity);
    stopBits_->SetIndex(form.stopBitsIndex);
    changePc_->setChecked(form.changePcParameters);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(changePc_);
    layout->addLayout(timeoutRow);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CCommTableDlg::accept() {
    const std::optional<int> timeout = ReadIntegerEdit(this, timeout_, 0, kMaxTerminalTimeout);
    if (!timeout) return;
    form_ = {baud_->Index(),   dataBits_->Index(),     stopBits_->Index(),
             parity_->Index(), changePc_->isChecked(), *timeout};
    QDialog::accept();
}

bool ExecCommTableDlg(QWidget* parent, core::ProgramModel& view) {
    CCommTableDlg dialog(CommTableFormFrom(view.State()), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    ApplyCommTableForm(dialog.Form(), view.State());
    ReportUnsaved(parent, view.SaveConfiguration());
    return true;
}

}  // namespace zelo::dialogs
