#pragma once

#include <QDialog>
#include <QFont>
#include <string>
#include <vector>

#include "dialogs/phone_list.hpp"

class QLineEdit;
class QListWidget;

namespace zelo::dialogs {

// "電話帳": a sorted list of phone lines with name and number edits (at
// most 30 characters each) and "新規追加", "削除", "編集"; at most 100 lines.
class CPhoneBookDlg : public QDialog {
public:
    explicit CPhoneBookDlg(const std::vector<std::string>& phoneLines, QWidget* parent = nullptr);
    const std::vector<std::string>& Lines() const { return list_.Lines(); }

private:
    void AddClicked();
    void DeleteClicked();
    void EditClicked();
    void LineDoubleClicked();
    void ShowList();
    void TakeSelection();

    PhoneList list_;
    QListWidget* view_;
    QLineEdit* name_;
    QLineEdit* number_;
};

// Runs the phone book over a copy of the lines; on OK they replace
// `phoneLines` (in the list's order) and true is returned.
bool ExecPhoneBookDlg(QWidget* parent, std::vector<std::string>& phoneLines);

// The list font for phone lines: fixed width, so names and numbers line up.
QFont PhoneLineFont();

}  // namespace zelo::dialogs
