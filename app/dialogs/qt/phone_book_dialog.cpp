#include "dialogs/qt/phone_book_dialog.hpp"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/phone_lines.hpp"
#include "dialogs/qt/choice_buttons.hpp"
#include "dialogs/qt/display_text.hpp"

namespace zelo::dialogs {

QFont PhoneLineFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

CPhoneBookDlg::CPhoneBookDlg(const std::vector<std::string>& phoneLines, QWidget* parent)
    : QDialog(parent), list_(phoneLines) {
    setWindowTitle("電話帳");
    name_ = new QLineEdit(this);
    name_->setObjectName("name");
    name_->setMaxLength(static_cast<int>(kPhoneField));
    number_ = new QLineEdit(this);
    number_->setObjectName("number");
    number_->setMaxLength(static_cast<int>(kPhoneField));
    auto* form = new QFormLayout;
    form->addRow("名前", name_);
    form->addRow("電話番号", number_);

    view_ = new QListWidget(this);
    view_->setObjectName("phoneLines");
    view_->setFont(PhoneLineFont());
    view_->setMinimumWidth(520);
    connect(view_, &QListWidget::itemDoubleClicked, this, &CPhoneBookDlg::LineDoubleClicked);
    connect(view_, &QListWidget::currentRowChanged, this, &CPhoneBookDlg::TakeSelection);

    auto* actions = new QHBoxLayout;
    const auto addAction = [&](const QString& caption, const char* name,
                               void (CPhoneBookDlg::*slot)()) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        actions->addWidget(button);
    };
    addAction("新規追加", "add", &CPhoneBookDlg::AddClicked);
    addAction("削除", "delete", &CPhoneBookDlg::DeleteClicked);
    addAction("編集", "edit", &CPhoneBookDlg::EditClicked);
    actions->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(actions);
    layout->addWidget(view_);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    OkButtonOf(buttons)->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    ShowList();
}

// The widget mirrors the list; the list decides order and selection.
void CPhoneBookDlg::ShowList() {
    const QSignalBlocker quiet(view_);
    view_->clear();
    for (const std::string& line : list_.Lines()) view_->addItem(DisplayText(line));
    const std::optional<std::size_t> selection = list_.Selection();
    view_->setCurrentRow(selection ? static_cast<int>(*selection) : -1);
    if (!selection) view_->clearSelection();
}

void CPhoneBookDlg::TakeSelection() {
    const int row = view_->currentRow();
    list_.Select(row < 0 ? std::nullopt
                         : std::optional<std::size_t>(static_cast<std::size_t>(row)));
}

void CPhoneBookDlg::AddClicked() {
    const std::string message =
        AddPhoneEntry(list_, StoredText(name_->text()), StoredText(number_->text()));
    if (!message.empty()) ShowDialogMessage(this, DisplayText(message));
    ShowList();
}

void CPhoneBookDlg::DeleteClicked() {
    list_.RemoveSelected();
    ShowList();
}

void CPhoneBookDlg::EditClicked() {
    const std::string message =
        EditPhoneEntry(list_, StoredText(name_->text()), StoredText(number_->text()));
    if (!message.empty()) ShowDialogMessage(this, DisplayText(message));
    ShowList();
}

void CPhoneBookDlg::LineDoubleClicked() {
    const std::optional<std::string> line = list_.SelectedLine();
    if (!line) return;
    const PhoneLineParts parts = SplitPhoneLine(*line);
    name_->setText(DisplayText(parts.name));
    number_->setText(DisplayText(parts.number));
}

bool ExecPhoneBookDlg(QWidget* parent, std::vector<std::string>& phoneLines) {
    CPhoneBookDlg dialog(phoneLines, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    phoneLines = dialog.Lines();
    return true;
}

}  // namespace zelo::dialogs
