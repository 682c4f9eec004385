#pragma once

#include <QDialog>

#include "core/command_table.hpp"
#include "core/program_model.hpp"
#include "dialogs/barcode_table.hpp"

namespace zelo::dialogs {

class ChoiceButtons;

// "バーコードシンボル": one row per symbology, every row shown whatever the
// terminal model; each opens on "オン".
class CBarcodeTableDlg : public QDialog {
public:
    explicit CBarcodeTableDlg(QWidget* parent = nullptr);
    BarcodeChoices Choices() const;

private:
    ChoiceButtons* rows_[10] = {};
};

// The bar-code table command's dialog: on OK the table for the configured
// terminal model is in args.barcodeTable and the caller starts the barcode table command
// (kBarcodeTable).
bool ExecBarcodeTableDlg(QWidget* parent, core::ProgramModel& view, core::CommandArguments& args);

}  // namespace zelo::dialogs
