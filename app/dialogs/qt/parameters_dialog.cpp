#include "dialogs/qt/parameters_dialog.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>

#include "dialogs/parameters_form.hpp"
#include "dialogs/qt/dialog_kit.hpp"

namespace zelo::dialogs {
namespace {

class CParametersDlg : public CheckedDialog {
public:
    CParametersDlg(QWidget* parent, ParametersFields& fields)
        : CheckedDialog(parent, QStringLiteral("通信パラメータ")), fields_(fields) {
        auto* layout = new QGridLayout(this);

        auto* portBox = new QGroupBox(QStringLiteral("ポート(&P)"), this);
        auto* portLayout = new QVBoxLayout(portBox);
        port_ = new QComboBox(portBox);
        port_->setObjectName(QStringLiteral("port"));
        for (int number = 1; number <= kPortCount; ++number)
            port_->addItem(QString::number(number));
        portLayout->addWidget(port_);
        layout->addWidget(portBox, 0, 0);

        auto* addressForm = new QFormLayout;
        addresses_ = new QLineEdit(this);
        addresses_->setObjectName(QStringLiteral("addresses"));
        // A line carries at most 39 terminals.
        addresses_->setMaxLength(static_cast<int>(link::kMaxAddresses));
        addressForm->addRow(QStringLiteral("アドレス(&A):"), addresses_);
        layout->addLayout(addressForm, 0, 1);

        auto* baudBox = new QGroupBox(QStringLiteral("転送速度(&B)"), this);
        baud_ = NewRadioGroup(
            baudBox,
            {"110", "300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600"},
            QStringLiteral("baud"));
        autoBaud_ = new QCheckBox(QStringLiteral("自動"), baudBox);
        autoBaud_->setObjectName(QStringLiteral("autoBaud"));
        baudBox->layout()->addWidget(autoBaud_);
        layout->addWidget(baudBox, 1, 0, 3, 1);

        auto* dataBox = new QGroupBox(QStringLiteral("データ長(&D)"), this);
        dataBits_ = NewRadioGroup(dataBox, {"7", "8"}, QStringLiteral("dataBits"), false);
        layout->addWidget(dataBox, 1, 1);

        auto* parityBox = new QGroupBox(QStringLiteral("パリティ(&a)"), this);
        parity_ =
            NewRadioGroup(parityBox, {"なし", "奇数", "偶数"}, QStringLiteral("parity"), false);
        layout->addWidget(parityBox, 2, 1);

        auto* stopBox = new QGroupBox(QStringLiteral("ストップ(&S)"), this);
        stopBits_ = NewRadioGroup(stopBox, {"1", "2"}, QStringLiteral("stopBits"), false);
        layout->addWidget(stopBox, 3, 1);

        auto* timing = new QFormLayout;
        escDelay_ = NewIntegerEdit(QStringLiteral("escDelay"), fields_.escDelay, this);
        nakDelay_ = NewIntegerEdit(QStringLiteral("nakDelay"), fields_.nakDelay, this);
        timeout_ = NewIntegerEdit(QStringLiteral("timeout"), fields_.timeout, this);
        timing->addRow(QStringLiteral("ESC 遅延"), escDelay_);
        timing->addRow(QStringLiteral("NAK 遅延"), nakDelay_);
        timing->addRow(QStringLiteral("タイムアウト"), timeout_);
        powerSaving_ = new QCheckBox(QStringLiteral("省電力"), this);
        powerSaving_->setObjectName(QStringLiteral("powerSaving"));
        timing->addRow(powerSaving_);
        layout->addLayout(timing, 4, 0);

        auto* logBox = new QGroupBox(QStringLiteral("エラーログファイル"), this);
        errorLog_ = NewRadioGroup(logBox, {"なし", "追加", "新規"}, QStringLiteral("errorLog"));
        layout->addWidget(logBox, 4, 1);
        layout->addWidget(OkCancel(), 5, 0, 1, 2);

        port_->setCurrentIndex(fields_.portIndex);
        addresses_->setText(ToQt(fields_.addresses));
        CheckRadio(baud_, fields_.baudIndex);
        autoBaud_->setChecked(fields_.autoBaud == 1);
        CheckRadio(dataBits_, fields_.dataBitsIndex);
        CheckRadio(parity_, fields_.parity);
        CheckRadio(stopBits_, fields_.stopBitsIndex);
        powerSaving_->setChecked(fields_.powerSaving == 1);
        CheckRadio(errorLog_, fields_.errorLogMode);
    }

protected:
    Refusal Collect() override {
        fields_.portIndex = port_->currentIndex();
        fields_.addresses = TextOf(addresses_, fields_.addresses);
        fields_.baudIndex = baud_->checkedId();
        fields_.autoBaud = autoBaud_->isChecked() ? 1 : 0;
        fields_.dataBitsIndex = dataBits_->checkedId();
        fields_.parity = parity_->checkedId();
        fields_.stopBitsIndex = stopBits_->checkedId();
        fields_.powerSaving = powerSaving_->isChecked() ? 1 : 0;
        fields_.errorLogMode = errorLog_->checkedId();
        return FirstRefusal({ReadInteger(escDelay_, fields_.escDelay),
                             ReadInteger(nakDelay_, fields_.nakDelay),
                             ReadInteger(timeout_, fields_.timeout), CheckParameters(fields_)});
    }

private:
    ParametersFields& fields_;
    QComboBox* port_;
    QLineEdit* addresses_;
    QButtonGroup* baud_;
    QCheckBox* autoBaud_;
    QButtonGroup* dataBits_;
    QButtonGroup* parity_;
    QButtonGroup* stopBits_;
    QLineEdit* escDelay_;
    QLineEdit* nakDelay_;
    QLineEdit* timeout_;
    QCheckBox* powerSaving_;
    QButtonGroup* errorLog_;
};

}  // namespace

bool ExecParametersDlg(QWidget* parent, core::ProgramModel& view,
                       const std::function<void(int openPort)>& reconnect,
                       core::LibrarySettings& library) {
    ParametersFields fields = OpenParameters(view);
    CParametersDlg dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted) return false;
    const ParametersOutcome outcome = ConfirmParameters(view, fields, library);
    ReportUnsaved(parent, outcome.saved);
    if (outcome.askReconnect &&
        Services().askYesNo(parent, QStringLiteral("Do you want to reconnect?"))) {
        reconnect(outcome.openPort);
    }
    return true;
}

}  // namespace zelo::dialogs
