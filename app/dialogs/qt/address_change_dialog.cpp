#include "dialogs/qt/address_change_dialog.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/qt/choice_buttons.hpp"

namespace zelo::dialogs {
namespace {

// A drop-down list without an edit: only its entries can be chosen.
QComboBox* AddressList(const std::string& addresses, const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    for (char address : addresses) list->addItem(QString(QChar(address)));
    list->setCurrentIndex(addresses.empty() ? -1 : 0);
    return list;
}

}  // namespace

CAddressChangeDlg::CAddressChangeDlg(const std::string& addresses, QWidget* parent)
    : QDialog(parent), lists_(AddressChangeListsFor(addresses)) {
    setWindowTitle("アドレス変更");
    before_ = AddressList(lists_.before, "before", this);
    after_ = AddressList(lists_.after, "after", this);
    auto* form = new QFormLayout;
    form->addRow("変更前", before_);
    form->addRow("変更後", after_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    ok_ = OkButtonOf(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(before_, &QComboBox::currentIndexChanged, this, &CAddressChangeDlg::UpdateOk);
    connect(after_, &QComboBox::currentIndexChanged, this, &CAddressChangeDlg::UpdateOk);
    UpdateOk();
}

std::optional<std::array<char, 2>> CAddressChangeDlg::Chosen() const {
    return ChosenAddressChange(lists_, before_->currentIndex(), after_->currentIndex());
}

void CAddressChangeDlg::UpdateOk() { ok_->setEnabled(Chosen().has_value()); }

bool ExecAddressChangeDlg(QWidget* parent, core::ProgramModel& view, core::CommandArguments& args) {
    CAddressChangeDlg dialog(view.State().comm.addresses, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const std::optional<std::array<char, 2>> chosen = dialog.Chosen();
    if (!chosen) return false;
    args.addressChange = *chosen;
    return true;
}

}  // namespace zelo::dialogs
