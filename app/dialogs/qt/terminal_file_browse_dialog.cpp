#include <QGridLayout>
#include <QLabel>

#include "dialogs/program_choice.hpp"
#include "dialogs/qt/choice_widgets.hpp"
#include "dialogs/qt/file_choice_dialogs.hpp"

namespace zelo::dialogs {
namespace {

class CTerminalFileBrowseDlg : public CheckedDialog {
public:
    CTerminalFileBrowseDlg(QWidget* parent, ProgramChoice& choice)
        : CheckedDialog(parent, QStringLiteral("ターミナルファイルのブラウズ")), choice_(choice) {
        auto* layout = new QGridLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("ファイル"), this), 0, 0);
        layout->addWidget(new QLabel(QStringLiteral("アドレス"), this), 0, 1);
        fileText_ = new QLineEdit(this);
        fileText_->setObjectName(QStringLiteral("fileText"));
        programs_ = NewChoiceList(QStringLiteral("programs"), this);
        addresses_ = NewChoiceList(QStringLiteral("addresses"), this);
        addresses_->setMinimumWidth(60);
        layout->addWidget(fileText_, 1, 0);
        layout->addWidget(programs_, 2, 0, 2, 1);
        layout->addWidget(addresses_, 1, 1, 2, 1);
        layout->addWidget(NewScopeGroup(this, scope_), 3, 1);
        layout->addWidget(OkCancel(), 4, 0, 1, 2);

        connect(addresses_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            choice_.SelectAddress(AddressOf(item));
            ShowNames(programs_, choice_.Programs());
        });
        connect(programs_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            choice_.ChooseProgram(static_cast<std::size_t>(programs_->row(item)));
            fileText_->setText(ToQt(choice_.fileText));
        });
        ShowAddresses(addresses_, choice_.Listing().Addresses());
        ShowNames(programs_, choice_.Programs());
        CheckRadio(scope_, choice_.terminalScope);
    }

protected:
    Refusal Collect() override {
        choice_.fileText = TextOf(fileText_, choice_.fileText);
        choice_.terminalScope = scope_->checkedId();
        return choice_.Check();
    }

private:
    ProgramChoice& choice_;
    QLineEdit* fileText_;
    QListWidget* programs_;
    QListWidget* addresses_;
    QButtonGroup* scope_ = nullptr;
};

}  // namespace

std::optional<core::PickAnswer> ExecTerminalFileBrowseDlg(QWidget* parent,
                                                          const core::PickRequest& request) {
    ProgramChoice choice(request);
    CTerminalFileBrowseDlg dialog(parent, choice);
    if (!request.title.empty()) dialog.setWindowTitle(ToQt(request.title));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return choice.Answer();
}

}  // namespace zelo::dialogs
