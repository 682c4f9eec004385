#include "dialogs/qt/dialog_kit.hpp"

#include <QBoxLayout>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace zelo::dialogs {

DialogServices& Services() {
    static DialogServices services{
        [](QWidget* parent, const QString& text) {
            QMessageBox::warning(parent, QStringLiteral("Zelo32"), text);
        },
        [](QWidget* parent, const QString& text) {
            return QMessageBox::question(parent, QStringLiteral("Zelo32"), text,
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        },
        [](QWidget* parent, const QString& initialName) {
            return QFileDialog::getOpenFileName(parent, QString(), initialName,
                                                QStringLiteral("All files (*.*)"));
        },
    };
    return services;
}

CheckedDialog::CheckedDialog(QWidget* parent, const QString& title) : QDialog(parent) {
    setWindowTitle(title);
    setModal(true);
}

void CheckedDialog::accept() {
    const Refusal refusal = Collect();
    if (!refusal.empty()) {
        Services().showMessage(this, ToQt(refusal));
        return;
    }
    QDialog::accept();
}

QDialogButtonBox* CheckedDialog::OkCancel() {
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CheckedDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CheckedDialog::reject);
    return buttons;
}

QLineEdit* NewIntegerEdit(const QString& objectName, int value, QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(objectName);
    edit->setMaximumWidth(90);
    return edit;
}

Refusal ReadInteger(QLineEdit* edit, int& value) {
    bool ok = false;
    const int read = edit->text().trimmed().toInt(&ok, 10);
    if (!ok) {
        edit->setFocus();
        edit->selectAll();
        return "Please enter an integer.";
    }
    value = read;
    return {};
}

QButtonGroup* NewRadioGroup(QGroupBox* box, std::initializer_list<const char*> captions,
                            const QString& namePrefix, bool vertical) {
    auto* group = new QButtonGroup(box);
    group->setExclusive(true);
    QBoxLayout* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box))
                                  : static_cast<QBoxLayout*>(new QHBoxLayout(box));
    int id = 0;
    for (const char* caption : captions) {
        auto* button = new QRadioButton(QString::fromUtf8(caption), box);
        button->setObjectName(namePrefix + QString::number(id));
        group->addButton(button, id);
        layout->addWidget(button);
        ++id;
    }
    return group;
}

void CheckRadio(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

void ReportUnsaved(QWidget* parent, bool saved) {
    if (!saved) {
        Services().showMessage(parent, QStringLiteral("The settings could not be written to "
                                                      "Zelocom.ini; they hold for this run only."));
    }
}

}  // namespace zelo::dialogs
