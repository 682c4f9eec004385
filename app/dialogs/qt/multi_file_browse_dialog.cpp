#include <QGridLayout>
#include <QLabel>

#include "dialogs/multi_file_choice.hpp"
#include "dialogs/qt/choice_widgets.hpp"
#include "dialogs/qt/file_choice_dialogs.hpp"

namespace zelo::dialogs {
namespace {

class CMultiFileBrowseDlg : public AddressScopeDialog {
public:
    CMultiFileBrowseDlg(QWidget* parent, MultiFileChoice& choice)
        : AddressScopeDialog(parent, QStringLiteral("複数ファイルのブラウズ"),
                             choice.terminalScope),
          choice_(choice) {
        auto* layout = new QGridLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("使用可能ファイル"), this), 0, 0);
        layout->addWidget(new QLabel(QStringLiteral("選択したファイル"), this), 0, 1);
        layout->addWidget(new QLabel(QStringLiteral("アドレス"), this), 0, 2);
        available_ = NewChoiceList(QStringLiteral("available"), this);
        chosen_ = NewChoiceList(QStringLiteral("chosen"), this);
        AddAddressesAndScope(choice_.Listing().Addresses());
        layout->addWidget(available_, 1, 0, 2, 1);
        layout->addWidget(chosen_, 1, 1, 2, 1);
        layout->addWidget(Addresses(), 1, 2);
        layout->addWidget(ScopeBox(), 2, 2);
        layout->addWidget(OkCancel(), 3, 0, 1, 3);

        OnAddressChosen([this](char address) {
            choice_.SelectAddress(address);
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
        ShowFiles();
    }

protected:
    Refusal Collect() override {
        CollectScope();
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
};

}  // namespace

std::optional<core::PickAnswer> ExecMultiFileBrowseDlg(QWidget* parent,
                                                       const core::PickRequest& request) {
    return ExecPick<CMultiFileBrowseDlg, MultiFileChoice>(parent, request);
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
