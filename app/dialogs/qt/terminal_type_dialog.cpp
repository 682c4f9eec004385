#include "dialogs/qt/terminal_type_dialog.hpp"

#include <QCheckBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/qt/dialog_kit.hpp"
#include "dialogs/terminal_type_form.hpp"

namespace zelo::dialogs {
namespace {

class CTerminalTypeDlg : public CheckedDialog {
public:
    CTerminalTypeDlg(QWidget* parent, TerminalTypeFields& fields)
        : CheckedDialog(parent, QStringLiteral("ターミナルタイプ選択")), fields_(fields) {
        auto* box = new QGroupBox(QStringLiteral("タイプ"), this);
        auto* boxLayout = new QVBoxLayout(box);
        types_ = new QButtonGroup(box);
        standardDelays_ = new QCheckBox(QStringLiteral("標準遅延時間使用"), this);
        standardDelays_->setObjectName(QStringLiteral("standardDelays"));
        for (std::size_t i = 0; i < kTerminalTypeCaptions.size(); ++i) {
            auto* button = new QRadioButton(ToQt(kTerminalTypeCaptions[i]), box);
            button->setObjectName(QStringLiteral("type%1").arg(i));
            types_->addButton(button, static_cast<int>(i));
            boxLayout->addWidget(button);
        }
        // In tab order the check box stands between Corvo and Brisa.
        setTabOrder(types_->button(5), standardDelays_);
        setTabOrder(standardDelays_, types_->button(6));

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(box);
        layout->addWidget(standardDelays_);
        layout->addWidget(OkCancel());

        CheckRadio(types_, fields_.typeIndex);
        standardDelays_->setChecked(fields_.useStandardDelays == 1);
    }

protected:
    Refusal Collect() override {
        fields_.typeIndex = types_->checkedId();
        fields_.useStandardDelays = standardDelays_->isChecked() ? 1 : 0;
        return {};
    }

private:
    TerminalTypeFields& fields_;
    QButtonGroup* types_;
    QCheckBox* standardDelays_;
};

}  // namespace

bool ExecTerminalTypeDlg(QWidget* parent, core::ProgramModel& view,
                         core::LibrarySettings& library) {
    TerminalTypeFields fields = OpenTerminalType(view.State());
    CTerminalTypeDlg dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted) return false;
    ReportUnsaved(parent, ConfirmTerminalType(view, fields, library));
    return true;
}

}  // namespace zelo::dialogs
