#include <QGridLayout>
#include <QLabel>

#include "dialogs/multi_file_choice.hpp"
#include "dialogs/qt/choice_widgets.hpp"
#include "dialogs/qt/file_choice_dialogs.hpp"

namespace zelo::dialogs {
namespace {

class CMultiFileBrowseDlg : public CheckedDialog {
public:
    CMultiFileBrowseDlg(QWidget* parent, MultiFileChoice& choice)
        : CheckedDialog(parent, QStringLiteral("複数ファイルのブラウズ")), choice_(choice) {
        auto* layout = new QGridLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("使用可能ファイル"), this), 0, 0);
        layout->addWidget(new QLabel(QStringLiteral("選択したファイル"), this), 0, 1);
        layout->addWidget(new QLabel(QStringLiteral("アドレス"), this), 0, 2);
        available_ = NewChoiceList(QStringLiteral("available"), this);
        chosen_ = NewChoiceList(QStringLiteral("chosen"), this);
        addresses_ = NewChoiceList(QStringLiteral("addresses"), this);
        addresses_->setMinimumWidth(60);
        layout->addWidget(available_, 1, 0, 2, 1);
        layout->addWidget(chosen_, 1, 1, 2, 1);
        layout->addWidget(addresses_, 1, 2);
        layout->addWidget(NewScopeGroup(this, scope_), 2, 2);
        layout->addWidget(OkCancel(), 3, 0, 1, 3);

        connect(addresses_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            choice_.SelectAddress(AddressOf(item));
            ShowFiles();
        });
        connect(available_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            const Refusal refusal = choice_.Choose(static_cast<std::size_t>(available_->row(item)));
            if (!refusal.empty()) Services().showMessage(this, ToQt(refusal));
            ShowFiles();
        });
        connect(chosen_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            choice_.Unchoose(static_cast<std::size_t>(chosen_->row(item)));
            ShowFiles();
        });
        ShowAddresses(addresses_, choice_.Listing().Addresses());
        ShowFiles();
        CheckRadio(scope_, choice_.terminalScope);
    }

protected:
    Refusal Collect() override {
        choice_.terminalScope = scope_->checkedId();
        return {};
    }

private:
    void ShowFiles() {
        ShowNames(available_, choice_.Available());
        ShowNames(chosen_, choice_.Chosen());
    }

    MultiFileChoice& choice_;
    QListWidget* available_;
    QListWidget* chosen_;
    QListWidget* addresses_;
    QButtonGroup* scope_ = nullptr;
};

}  // namespace

std::optional<core::PickAnswer> ExecMultiFileBrowseDlg(QWidget* parent,
                                                       const core::PickRequest& request) {
    MultiFileChoice choice(request);
    CMultiFileBrowseDlg dialog(parent, choice);
    if (!request.title.empty()) dialog.setWindowTitle(ToQt(request.title));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return choice.Answer();
}

std::optional<core::PickAnswer> ExecPickDialog(QWidget* parent, const core::PickRequest& request) {
    return request.programChoice ? ExecTerminalFileBrowseDlg(parent, request)
                                 : ExecMultiFileBrowseDlg(parent, request);
}

std::optional<core::PickAnswer> PickOnGuiThread(GuiRequests& gui, QWidget* parent,
                                                const core::PickRequest& request,
                                                const std::function<bool()>& stopped) {
    return gui.Ask<core::PickAnswer>([parent, request] { return ExecPickDialog(parent, request); },
                                     stopped);
}

}  // namespace zelo::dialogs
