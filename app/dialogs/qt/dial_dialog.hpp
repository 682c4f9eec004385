#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "core/model_records.hpp"
#include "dialogs/phone_list.hpp"

class QListWidget;

namespace zelo::dialogs {

// "ダイヤル": the phone book's lines, sorted; "接続" (the OK button) or a
// double click takes the selected line.
class CDialDlg : public QDialog {
public:
    explicit CDialDlg(const std::vector<std::string>& phoneLines, QWidget* parent = nullptr);
    const std::string& ChosenLine() const { return chosenLine_; }
    void accept() override;

private:
    PhoneList list_;
    QListWidget* view_;
    std::string chosenLine_;
};

// The dial step before a command that needs the line, outside command-line
// mode: the number to dial (at most 30 characters), or nothing on Cancel or
// when the chosen line holds no number (after saying so). For the
// desktop's UserInterface::ChooseDialNumber; call it on the user interface
// thread.
std::optional<std::string> ExecDialDlg(QWidget* parent, const core::PhoneBook& phoneBook);

inline constexpr const char* kSelectPhoneMessage = "Please select one Phone!";
inline constexpr const char* kNoPhoneNumberMessage = "No Phone number!";

}  // namespace zelo::dialogs
