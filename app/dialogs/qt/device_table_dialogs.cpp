#include "dialogs/qt/device_table_dialogs.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/qt/choice_buttons.hpp"

namespace zelo::dialogs {
namespace {

const QStringList kOnOff{"オン", "オフ"};
const QStringList kVolumes{"低", "中", "高"};

// The form's rows above OK and Cancel.
QFormLayout* AddForm(QDialog* dialog) {
    auto* layout = new QVBoxLayout(dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    QDialogButtonBox* buttons = OkCancelButtons(dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return form;
}

ChoiceButtons* AddRow(QDialog* dialog, QFormLayout* form, const QString& label, const char* name,
                      const QStringList& captions) {
    auto* row = new ChoiceButtons(name, captions, dialog);
    form->addRow(label, row);
    return row;
}

QLineEdit* AddEdit(QDialog* dialog, QFormLayout* form, const QString& label, const char* name) {
    auto* edit = new QLineEdit("0", dialog);
    edit->setObjectName(name);
    form->addRow(label, edit);
    return edit;
}

}  // namespace

CFennaDeviceDlg::CFennaDeviceDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Fenna/Gravo/Halda デバイス設定テーブル");
    QFormLayout* form = AddForm(this);
    externalScanner_ =
        AddRow(this, form, "スキャナ (外部)", "externalScanner", {"自動", "ペン", "MSR", "オフ"});
    internalBadge_ =
        AddRow(this, form, "バッジ (内部)", "internalBadge", {"バーコード", "MSR", "オフ"});
    backlight_ = AddRow(this, form, "バックライト", "backlight", kOnOff);
    buzzer_ = AddRow(this, form, "ブザー", "buzzer", kOnOff);
    beepVolume_ = AddRow(this, form, "ビープ音量", "beepVolume", kVolumes);
    keyLock_ = AddRow(this, form, "キーロック", "keyLock", {"アンロック", "ロック", "部分ロック"});
}

FennaDeviceChoices CFennaDeviceDlg::Choices() const {
    return {externalScanner_->Index(), internalBadge_->Index(), backlight_->Index(),
            buzzer_->Index(),          beepVolume_->Index(),    keyLock_->Index()};
}

CLantaDeviceDlg::CLantaDeviceDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Lanta デバイス設定テーブル");
    QFormLayout* form = AddForm(this);
    backlight_ = AddRow(this, form, "バックライト", "backlight", kOnOff);
    interval_ = AddRow(this, form, "間隔", "interval", kOnOff);
    beepLevel_ = AddEdit(this, form, "ビープ音量", "beepLevel");
}

void CLantaDeviceDlg::accept() {
    const std::optional<int> level = ReadIntegerEdit(this, beepLevel_, 0, kMaxLantaBeepLevel);
    if (!level) return;
    choices_ = {backlight_->Index(), interval_->Index(), *level};
    QDialog::accept();
}

CEstraDeviceDlg::CEstraDeviceDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Estra/Delmar デバイス設定テーブル");
    QFormLayout* form = AddForm(this);
    scanner_ = AddRow(this, form, "スキャナ", "scanner", {"自動", "ペン", "オフ"});
    serial_ = AddRow(this, form, "シリアル", "serial", kOnOff);
    backlight_ = AddRow(this, form, "バックライト", "backlight", kOnOff);
    buzzer_ = AddRow(this, form, "ブザー", "buzzer", kOnOff);
    beepVolume_ = AddRow(this, form, "ビープ音量", "beepVolume", kVolumes);
    autoOff_ = AddEdit(this, form, "自動オフ", "autoOff");
}

void CEstraDeviceDlg::accept() {
    const std::optional<int> autoOff = ReadIntegerEdit(this, autoOff_, 0, kMaxAutoOff);
    if (!autoOff) return;
    choices_ = {scanner_->Index(), serial_->Index(),     backlight_->Index(),
                buzzer_->Index(),  beepVolume_->Index(), *autoOff};
    QDialog::accept();
}

bool ExecDeviceTableDlg(QWidget* parent, core::ProgramModel& view, core::CommandArguments& args) {
    const int type = view.State().comm.terminalType;
    switch (DeviceDialogFor(type)) {
        case DeviceDialogKind::kFenna: {
            CFennaDeviceDlg dialog(parent);
            if (dialog.exec() != QDialog::Accepted) return false;
            args.deviceTable = BuildFennaDeviceTable(dialog.Choices(), type);
            return true;
        }
        case DeviceDialogKind::kLanta: {
            CLantaDeviceDlg dialog(parent);
            if (dialog.exec() != QDialog::Accepted) return false;
            args.deviceTable = BuildLantaDeviceTable(dialog.Choices());
            return true;
        }
        case DeviceDialogKind::kEstra: {
            CEstraDeviceDlg dialog(parent);
            if (dialog.exec() != QDialog::Accepted) return false;
            args.deviceTable = BuildEstraDeviceTable(dialog.Choices());
            return true;
        }
    }
    return false;
}

}  // namespace zelo::dialogs
