#include "dialogs/qt/barcode_table_dialog.hpp"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/qt/choice_buttons.hpp"

namespace zelo::dialogs {
namespace {

struct Row {
    const char* label;
    const char* name;
    int BarcodeChoices::*field;
};
constexpr Row kRows[] = {
    {"Code 39", "code39", &BarcodeChoices::code39},
    {"I 2 of 5", "interleaved25", &BarcodeChoices::interleaved25},
    {"Code Bar", "codabar", &BarcodeChoices::codabar},
    {"EAN/UPC", "eanUpc", &BarcodeChoices::eanUpc},
    {"Code 128", "code128", &BarcodeChoices::code128},
    {"EAN 128", "ean128", &BarcodeChoices::ean128},
    {"Code 93", "code93", &BarcodeChoices::code93},
    {"Trioptic", "trioptic", &BarcodeChoices::trioptic},
    {"MSI", "msi", &BarcodeChoices::msi},
    {"Code 11", "code11", &BarcodeChoices::code11},
};

}  // namespace

CBarcodeTableDlg::CBarcodeTableDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("バーコードシンボル");
    auto* grid = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        QStringList captions{"オン", "オフ"};
        if (i == 0) captions << "全";
        grid->addWidget(new QLabel(kRows[i].label, this), i, 0);
        rows_[i] = new ChoiceButtons(kRows[i].name, captions, this);
        grid->addWidget(rows_[i], i, 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    QDialogButtonBox* buttons = OkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

BarcodeChoices CBarcodeTableDlg::Choices() const {
    BarcodeChoices choices;
    for (int i = 0; i < 10; ++i) choices.*kRows[i].field = rows_[i]->Index();
    return choices;
}

bool ExecBarcodeTableDlg(QWidget* parent, core::ProgramModel& view, core::CommandArguments& args) {
    CBarcodeTableDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    args.barcodeTable = BuildBarcodeTable(dialog.Choices(), view.State().comm.terminalType);
    return true;
}

}  // namespace zelo::dialogs
