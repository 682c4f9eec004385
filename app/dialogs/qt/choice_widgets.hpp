#pragma once

#include <QButtonGroup>
#include <QListWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/user_interface.hpp"
#include "dialogs/qt/dialog_kit.hpp"

namespace zelo::dialogs {

// A list box that shows what the logic keeps sorted; the order is the
// logic's, so the widget itself does not sort.
QListWidget* NewChoiceList(const QString& objectName, QWidget* parent);
void ShowNames(QListWidget* list, const std::vector<std::string>& names);
void ShowAddresses(QListWidget* list, const std::vector<char>& addresses);
// The address of a double-clicked entry of an address list.
char AddressOf(const QListWidgetItem* item);

// The "ターミナル" group: "単一ターミナル" 0 and "全ターミナル" 1.
QGroupBox* NewScopeGroup(QWidget* parent, QButtonGroup*& scope);

// The browse dialogs' common part: files beside the line's addresses and
// the "ターミナル" scope, which OK stores in `terminalScope`.
class AddressScopeDialog : public CheckedDialog {
public:
    AddressScopeDialog(QWidget* parent, const QString& title, int& terminalScope)
        : CheckedDialog(parent, title), terminalScope_(terminalScope) {}

protected:
    // Makes the address list (named "addresses") and the scope group, after
    // the file widgets so that Tab reaches them in that order; the subclass
    // places Addresses() and ScopeBox() in its layout.
    void AddAddressesAndScope(const std::vector<char>& addresses);
    QListWidget* Addresses() const { return addresses_; }
    QGroupBox* ScopeBox() const { return scopeBox_; }
    // Calls `chosen` with the address double-clicked in the list.
    void OnAddressChosen(std::function<void(char address)> chosen);
    // Stores the checked scope; the subclass's Collect calls it.
    void CollectScope() { terminalScope_ = scope_->checkedId(); }

private:
    int& terminalScope_;
    QListWidget* addresses_ = nullptr;
    QButtonGroup* scope_ = nullptr;
    QGroupBox* scopeBox_ = nullptr;
};

// Runs a dialog over the choice a pick request makes: titled as the request
// asks when it names a title; the choice's answer on OK, nothing on Cancel.
template <typename Dialog, typename Choice>
std::optional<core::PickAnswer> ExecPick(QWidget* parent, const core::PickRequest& request) {
    Choice choice(request);
    Dialog dialog(parent, choice);
    if (!request.title.empty()) dialog.setWindowTitle(ToQt(request.title));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return choice.Answer();
}

}  // namespace zelo::dialogs
