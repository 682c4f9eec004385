#pragma once

#include <QDialog>

#include "core/program_model.hpp"
#include "dialogs/modem_form.hpp"

class QLineEdit;

namespace zelo::dialogs {

class ChoiceButtons;

// "モデム設定": dialling method, longest wait (1 to 120 s), modem use and
// initialisation command; "電話帳" edits a copy of the phone lines.
class CModemDlg : public QDialog {
public:
    CModemDlg(const ModemForm& form, QWidget* parent = nullptr);
    const ModemForm& Form() const { return form_; }
    void accept() override;

private:
    void PhoneBookClicked();

    ChoiceButtons* dialType_;
    QLineEdit* dialWaitTime_;
    ChoiceButtons* useModem_;
    QLineEdit* initCommand_;
    ModemForm form_;
};

// The modem menu command: reads the configuration again, runs the dialog
// and, on OK, stores the modem settings and the renumbered phone book and
// saves the configuration. Starts no command.
bool ExecModemDlg(QWidget* parent, core::ProgramModel& view);

}  // namespace zelo::dialogs
