#pragma once

#include <QButtonGroup>
#include <QListWidget>
#include <string>
#include <vector>

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

}  // namespace zelo::dialogs
