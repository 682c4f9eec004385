#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <array>

#include "dialogs/download_list_form.hpp"
#include "dialogs/qt/dialog_kit.hpp"
#include "dialogs/qt/file_list_dialogs.hpp"

namespace zelo::dialogs {
namespace {

class CDownloadListDlg : public CheckedDialog {
public:
    CDownloadListDlg(QWidget* parent, DownloadListForm& form)
        : CheckedDialog(parent, QStringLiteral("ダウンロード - ファイル")), form_(form) {
        auto* layout = new QGridLayout(this);
        constexpr int kRows = static_cast<int>(core::kListFiles) / 2;
        for (int column = 0; column < 2; ++column) {
            layout->addWidget(new QLabel(QStringLiteral("ファイル名"), this), 0, column * 2 + 1);
        }
        for (std::size_t i = 0; i < edits_.size(); ++i) {
            const int row = static_cast<int>(i) % kRows + 1;
            const int column = static_cast<int>(i) / kRows * 2;
            auto* edit = new QLineEdit(ToQt(form_.Files()[i]), this);
            edit->setObjectName(QStringLiteral("file%1").arg(i + 1));
            edit->setMinimumWidth(220);
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::textEdited, this,
                    [this, i](const QString& text) { form_.SetFile(i, FromQt(text)); });
            layout->addWidget(new QLabel(QString::number(i + 1), this), row, column);
            layout->addWidget(edit, row, column + 1);
            edits_[i] = edit;
        }
        auto* buttons = OkCancel();
        QPushButton* browse =
            buttons->addButton(QStringLiteral("ブラウズ"), QDialogButtonBox::ActionRole);
        browse->setObjectName(QStringLiteral("browse"));
        browse->setAutoDefault(false);
        connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
        layout->addWidget(buttons, kRows + 1, 0, 1, 4);
    }

    void reject() override {
        form_.Cancel();
        CheckedDialog::reject();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            for (std::size_t i = 0; i < edits_.size(); ++i) {
                if (watched == edits_[i]) form_.FocusEdit(static_cast<int>(i) + 1);
            }
        }
        return CheckedDialog::eventFilter(watched, event);
    }

    Refusal Collect() override { return form_.Check(); }

private:
    void Browse() {
        const QString path = Services().chooseFile(this, QStringLiteral("*.*"));
        if (path.isEmpty()) return;
        const Refusal refusal = form_.Browse(PathFromQt(path));
        if (!refusal.empty()) {
            Services().showMessage(this, ToQt(refusal));
            return;
        }
        for (std::size_t i = 0; i < edits_.size(); ++i) edits_[i]->setText(ToQt(form_.Files()[i]));
    }

    DownloadListForm& form_;
    std::array<QLineEdit*, core::kListFiles> edits_{};
};

}  // namespace

bool ExecDownloadListDlg(QWidget* parent, core::ProgramModel& view) {
    DownloadListForm form = DownloadListForm::Open(view);
    CDownloadListDlg dialog(parent, form);
    if (dialog.exec() != QDialog::Accepted) return false;
    ReportUnsaved(parent, ConfirmDownloadList(view, form));
    return true;
}

}  // namespace zelo::dialogs
