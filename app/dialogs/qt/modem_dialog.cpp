#include "dialogs/qt/modem_dialog.hpp"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/qt/choice_buttons.hpp"
#include "dialogs/qt/dialog_kit.hpp"
#include "dialogs/qt/display_text.hpp"
#include "dialogs/qt/phone_book_dialog.hpp"
#include "link/comm_settings.hpp"

namespace zelo::dialogs {
namespace {

QGroupBox* Group(const QString& title, QWidget* content, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    (new QVBoxLayout(group))->addWidget(content);
    return group;
}

}  // namespace

CModemDlg::CModemDlg(const ModemForm& form, QWidget* parent) : QDialog(parent), form_(form) {
    setWindowTitle("モデム設定");
    dialType_ = new ChoiceButtons("dialType", {"トーン", "パルス"}, this);
    dialType_->SetIndex(form.dialType == 1 ? 1 : 0);
    dialWaitTime_ = new QLineEdit(QString::number(form.dialWaitTime), this);
    dialWaitTime_->setObjectName("dialWaitTime");
    useModem_ = new ChoiceButtons("useModem", {"モデムなし", "モデム使用"}, this);
    useModem_->SetIndex(form.useModem);
    initCommand_ = new QLineEdit(DisplayText(form.initCommand), this);
    initCommand_->setObjectName("initCommand");
    initCommand_->setMaxLength(static_cast<int>(link::kMaxModemInitCommand));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Group("ダイアル方法", dialType_, this));
    layout->addWidget(Group("最大ダイアル待ち時間(秒)", dialWaitTime_, this));
    layout->addWidget(Group({}, useModem_, this));
    layout->addWidget(Group("モデム初期化コマンド", initCommand_, this));
    QDialogButtonBox* buttons = OkCancelButtons(this);
    QPushButton* phoneBook = buttons->addButton("電話帳", QDialogButtonBox::ActionRole);
    phoneBook->setObjectName("phoneBook");
    connect(phoneBook, &QPushButton::clicked, this, &CModemDlg::PhoneBookClicked);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CModemDlg::PhoneBookClicked() { ExecPhoneBookDlg(this, form_.phoneLines); }

void CModemDlg::accept() {
    const std::optional<int> wait =
        ReadIntegerEdit(this, dialWaitTime_, kMinDialWaitTime, kMaxDialWaitTime);
    if (!wait) return;
    form_.dialType = dialType_->Index();
    form_.dialWaitTime = *wait;
    form_.useModem = useModem_->Index();
    form_.initCommand = StoredText(initCommand_->text());
    QDialog::accept();
}

bool ExecModemDlg(QWidget* parent, core::ProgramModel& view) {
    view.ReloadConfiguration();
    CModemDlg dialog(ModemFormFrom(view.State()), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    ApplyModemForm(dialog.Form(), view.State());
    ReportUnsaved(parent, view.SaveConfiguration());
    return true;
}

}  // namespace zelo::dialogs
