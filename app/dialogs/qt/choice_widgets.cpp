#include "dialogs/qt/choice_widgets.hpp"

namespace zelo::dialogs {

QListWidget* NewChoiceList(const QString& objectName, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(objectName);
    list->setMinimumWidth(160);
    return list;
}

void ShowNames(QListWidget* list, const std::vector<std::string>& names) {
    list->clear();
    for (const std::string& name : names) list->addItem(ToQt(name));
    if (list->count() > 0) list->setCurrentRow(0);
}

void ShowAddresses(QListWidget* list, const std::vector<char>& addresses) {
    list->clear();
    for (const char address : addresses) list->addItem(QString(QChar::fromLatin1(address)));
    if (list->count() > 0) list->setCurrentRow(0);
}

char AddressOf(const QListWidgetItem* item) {
    const QString text = item != nullptr ? item->text() : QString();
    return text.isEmpty() ? ' ' : text.at(0).toLatin1();
}

QGroupBox* NewScopeGroup(QWidget* parent, QButtonGroup*& scope) {
    auto* box = new QGroupBox(QStringLiteral("ターミナル"), parent);
    scope = NewRadioGroup(box, {"単一ターミナル", "全ターミナル"}, QStringLiteral("scope"));
    return box;
}

void AddressScopeDialog::AddAddressesAndScope(const std::vector<char>& addresses) {
    addresses_ = NewChoiceList(QStringLiteral("addresses"), this);
    addresses_->setMinimumWidth(60);
    ShowAddresses(addresses_, addresses);
    scopeBox_ = NewScopeGroup(this, scope_);
    CheckRadio(scope_, terminalScope_);
}

void AddressScopeDialog::OnAddressChosen(std::function<void(char address)> chosen) {
    connect(addresses_, &QListWidget::itemDoubleClicked, this,
            [chosen = std::move(chosen)](QListWidgetItem* item) { chosen(AddressOf(item)); });
}

}  // namespace zelo::dialogs
