#pragma once

#include <QDialog>

#include "core/program_model.hpp"
#include "dialogs/comm_table_form.hpp"

class QCheckBox;
class QLineEdit;

namespace zelo::dialogs {

class ChoiceButtons;

// "通信パラメータ変更": the line settings the terminals are to take, whether
// the program follows them, and the terminal's time-out (0 to 99).
class CCommTableDlg : public QDialog {
public:
    CCommTableDlg(const CommTableForm& form, QWidget* parent = nullptr);
    CommTableForm Form() const { return form_; }
    void accept() override;

private:
    ChoiceButtons* baud_;
    QCheckBox* changePc_;
    ChoiceButtons* dataBits_;
    ChoiceButtons* parity_;
    ChoiceButtons* stopBits_;
    QLineEdit* timeout_;
    CommTableForm form_;
};

// The communication-table command's dialog: on OK the request and the
// time-out are in the view's records, the configuration is saved (so the
// time-out outlives a reload) and the caller starts the communication table command (kCommTable).
bool ExecCommTableDlg(QWidget* parent, core::ProgramModel& view);

}  // namespace zelo::dialogs
