#include <QGridLayout>
#include <QLabel>

#include "dialogs/program_choice.hpp"
#include "dialogs/qt/choice_widgets.hpp"
#include "dialogs/qt/file_choice_dialogs.hpp"

namespace zelo::dialogs {
namespace {

class CTerminalFileBrowseDlg : public AddressScopeDialog {
public:
    CTerminalFileBrowseDlg(QWidget* parent, ProgramChoice& choice)
        : AddressScopeDialog(parent, QStringLiteral("ターミナルファイルのブラウズ"),
                             choice.terminalScope),
          choice_(choice) {
        auto* layout = new QGridLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("ファイル"), this), 0, 0);
        layout->addWidget(new QLabel(QStringLiteral("アドレス"), this), 0, 1);
        fileText_ = new QLineEdit(this);
        fileText_->setObjectName(QStringLiteral("fileText"));
        programs_ = NewChoiceList(QStringLiteral("programs"), this);
        AddAddressesAndScope(choice_.Listing().Addresses());
        layout->addWidget(fileText_, 1, 0);
        layout->addWidget(programs_, 2, 0, 2, 1);
        layout->addWidget(Addresses(), 1, 1, 2, 1);
        layout->addWidget(ScopeBox(), 3, 1);
        layout->addWidget(OkCancel(), 4, 0, 1, 2);

        OnAddressChosen([this](char address) {
            choice_.SelectAddress(address);
            ShowNames(programs_, choice_.Programs());
        });
        connect(programs_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            choice_.ChooseProgram(static_cast<std::size_t>(programs_->row(item)));
            fileText_->setText(ToQt(choice_.fileText));
        });
        ShowNames(programs_, choice_.Programs());
    }

protected:
    Refusal Collect() override {
        choice_.fileText = TextOf(fileText_, choice_.fileText);
        CollectScope();
        return choice_.Check();
    }

private:
    ProgramChoice& choice_;
    QLineEdit* fileText_;
    QListWidget* programs_;
};

}  // namespace

std::optional<core::PickAnswer> ExecTerminalFileBrowseDlg(QWidget* parent,
                                                          const core::PickRequest& request) {
    return ExecPick<CTerminalFileBrowseDlg, ProgramChoice>(parent, request);
}

}  // namespace zelo::dialogs
