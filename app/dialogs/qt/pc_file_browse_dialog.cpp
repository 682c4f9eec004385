#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "dialogs/pc_file_choice.hpp"
#include "dialogs/qt/choice_widgets.hpp"
#include "dialogs/qt/file_choice_dialogs.hpp"

namespace zelo::dialogs {
namespace {

class CPcFileBrowseDlg : public AddressScopeDialog {
public:
    CPcFileBrowseDlg(QWidget* parent, PcFileChoice& choice)
        : AddressScopeDialog(parent, QStringLiteral("ディレクトリファイルのブラウズ"),
                             choice.terminalScope),
          choice_(choice) {
        auto* layout = new QGridLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("選択したファイル"), this), 0, 0);
        layout->addWidget(new QLabel(QStringLiteral("アドレス"), this), 0, 1);
        chosen_ = NewChoiceList(QStringLiteral("chosen"), this);
        chosen_->setMinimumWidth(320);
        AddAddressesAndScope(choice_.Addresses());
        layout->addWidget(chosen_, 1, 0, 2, 1);
        layout->addWidget(Addresses(), 1, 1);
        layout->addWidget(ScopeBox(), 2, 1);

        auto* buttons = OkCancel();
        QPushButton* browse =
            buttons->addButton(QStringLiteral("ブラウズ"), QDialogButtonBox::ActionRole);
        browse->setObjectName(QStringLiteral("browse"));
        browse->setAutoDefault(false);
        layout->addWidget(buttons, 3, 0, 1, 2);

        connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
        connect(chosen_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            choice_.Remove(static_cast<std::size_t>(chosen_->row(item)));
            ShowNames(chosen_, choice_.Chosen());
        });
    }

protected:
    Refusal Collect() override {
        CollectScope();
        return {};
    }

private:
    void Browse() {
        const QString path = Services().chooseFile(this, QStringLiteral("*.*"));
        if (path.isEmpty()) return;
        const Refusal refusal = choice_.Add(PathFromQt(path));
        if (!refusal.empty()) Services().showMessage(this, ToQt(refusal));
        ShowNames(chosen_, choice_.Chosen());
    }

    PcFileChoice& choice_;
    QListWidget* chosen_;
};

}  // namespace

bool ExecPcFileBrowseDlg(QWidget* parent, core::ModelState& state) {
    PcFileChoice choice(state.comm.addresses);
    CPcFileBrowseDlg dialog(parent, choice);
    if (dialog.exec() != QDialog::Accepted) return false;
    return ConfirmPcFiles(state, choice);
}

}  // namespace zelo::dialogs
