#include "dialogs/qt/dial_dialog.hpp"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/phone_lines.hpp"
#include "dialogs/qt/choice_buttons.hpp"
#include "dialogs/qt/display_text.hpp"
#include "dialogs/qt/phone_book_dialog.hpp"

namespace zelo::dialogs {

CDialDlg::CDialDlg(const std::vector<std::string>& phoneLines, QWidget* parent)
    : QDialog(parent), list_(phoneLines) {
    setWindowTitle("ダイヤル");
    view_ = new QListWidget(this);
    view_->setObjectName("phoneLines");
    view_->setFont(PhoneLineFont());
    view_->setMinimumWidth(520);
    for (const std::string& line : list_.Lines()) view_->addItem(DisplayText(line));
    if (list_.Selection()) view_->setCurrentRow(static_cast<int>(*list_.Selection()));
    connect(view_, &QListWidget::itemDoubleClicked, this, &CDialDlg::accept);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* connectButton = buttons->addButton("接続", QDialogButtonBox::AcceptRole);
    connectButton->setObjectName("ok");
    connectButton->setDefault(true);
    buttons->addButton("キャンセル", QDialogButtonBox::RejectRole)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addWidget(buttons);
}

void CDialDlg::accept() {
    const int row = view_->currentRow();
    const bool selected = row >= 0 && view_->item(row)->isSelected();
    if (!selected) {
        ShowDialogMessage(this, kSelectPhoneMessage);
        return;
    }
    chosenLine_ = list_.Lines()[static_cast<std::size_t>(row)];
    QDialog::accept();
}

std::optional<std::string> ExecDialDlg(QWidget* parent, const core::PhoneBook& phoneBook) {
    CDialDlg dialog(BuildPhoneLines(phoneBook), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::optional<std::string> number = DialNumberOfLine(dialog.ChosenLine());
    if (!number) ShowDialogMessage(parent, kNoPhoneNumberMessage);
    return number;
}

}  // namespace zelo::dialogs
