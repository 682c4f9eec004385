#include "dialogs/qt/choice_buttons.hpp"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/field_checks.hpp"
#include "dialogs/qt/display_text.hpp"

namespace zelo::dialogs {

ChoiceButtons::ChoiceButtons(const QString& name, const QStringList& captions, QWidget* parent,
                             bool vertical)
    : QWidget(parent) {
    setObjectName(name);
    auto* layout =
        new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], this);
        button->setObjectName(name + "_" + QString::number(i));
        group_.addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch();
    SetIndex(0);
}

int ChoiceButtons::Index() const { return group_.checkedId(); }

void ChoiceButtons::SetIndex(int index) {
    if (QAbstractButton* button = group_.button(index)) button->setChecked(true);
}

QDialogButtonBox* OkCancelButtons(QWidget* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("ok");
    ok->setDefault(true);
    buttons->addButton("キャンセル", QDialogButtonBox::RejectRole)->setObjectName("cancel");
    return buttons;
}

QPushButton* OkButtonOf(QDialogButtonBox* buttons) {
    return buttons->findChild<QPushButton*>("ok");
}

void ShowDialogMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, "Zelo32", text);
}

std::optional<int> ReadIntegerEdit(QWidget* dialog, QLineEdit* edit, int low, int high) {
    const CheckedInteger checked = CheckIntegerText(edit->text().toStdString(), low, high);
    if (!checked.value) {
        ShowDialogMessage(dialog, DisplayText(checked.refusal));
        edit->setFocus();
        edit->selectAll();
    }
    return checked.value;
}

}  // namespace zelo::dialogs
