#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <array>

#include "dialogs/qt/dialog_kit.hpp"
#include "dialogs/qt/file_list_dialogs.hpp"
#include "dialogs/upload_list_form.hpp"

namespace zelo::dialogs {
namespace {

class CUploadListDlg : public CheckedDialog {
public:
    CUploadListDlg(QWidget* parent, UploadListFields& fields)
        : CheckedDialog(parent, QStringLiteral("アップロード - ファイル")), fields_(fields) {
        auto* layout = new QGridLayout(this);
        constexpr int kRows = static_cast<int>(core::kListFiles) / 2;
        for (int column = 0; column < 2; ++column) {
            layout->addWidget(new QLabel(QStringLiteral("ファイル名"), this), 0, column * 3 + 1);
            layout->addWidget(new QLabel(QStringLiteral("削除"), this), 0, column * 3 + 2);
        }
        for (std::size_t i = 0; i < files_.size(); ++i) {
            const int row = static_cast<int>(i) % kRows + 1;
            const int column = static_cast<int>(i) / kRows * 3;
            files_[i] = new QLineEdit(ToQt(fields_.files[i]), this);
            files_[i]->setObjectName(QStringLiteral("file%1").arg(i + 1));
            files_[i]->setMinimumWidth(180);
            deletes_[i] = new QCheckBox(this);
            deletes_[i]->setObjectName(QStringLiteral("delete%1").arg(i + 1));
            deletes_[i]->setChecked(fields_.deleteFlags[i] != 0);
            layout->addWidget(new QLabel(QString::number(i + 1), this), row, column);
            layout->addWidget(files_[i], row, column + 1);
            layout->addWidget(deletes_[i], row, column + 2);
        }

        auto* saveBox = new QGroupBox(QStringLiteral("ファイル保存方法"), this);
        saveMethod_ =
            NewRadioGroup(saveBox, {"新規", "上書", "追加"}, QStringLiteral("save"), false);
        CheckRadio(saveMethod_, fields_.saveMethod);
        layout->addWidget(saveBox, kRows + 1, 0, 1, 3);

        auto* loopBox = new QGroupBox(QStringLiteral("ループ"), this);
        auto* loopLayout = new QHBoxLayout(loopBox);
        loop_ = new QCheckBox(QStringLiteral("する"), loopBox);
        loop_->setObjectName(QStringLiteral("loop"));
        loop_->setChecked(fields_.loop != 0);
        period_ = NewIntegerEdit(QStringLiteral("period"), fields_.period, loopBox);
        loopLayout->addWidget(loop_);
        loopLayout->addWidget(new QLabel(QStringLiteral("周期"), loopBox));
        loopLayout->addWidget(period_);
        loopLayout->addWidget(new QLabel(QStringLiteral("秒"), loopBox));
        layout->addWidget(loopBox, kRows + 1, 3, 1, 3);
        layout->addWidget(OkCancel(), kRows + 2, 0, 1, 6);
    }

protected:
    Refusal Collect() override {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            fields_.files[i] = TextOf(files_[i], fields_.files[i]);
            fields_.deleteFlags[i] = deletes_[i]->isChecked() ? 1 : 0;
        }
        fields_.saveMethod = saveMethod_->checkedId();
        fields_.loop = loop_->isChecked() ? 1 : 0;
        return FirstRefusal({ReadInteger(period_, fields_.period), CheckUploadList(fields_)});
    }

private:
    UploadListFields& fields_;
    std::array<QLineEdit*, core::kListFiles> files_{};
    std::array<QCheckBox*, core::kListFiles> deletes_{};
    QButtonGroup* saveMethod_;
    QCheckBox* loop_;
    QLineEdit* period_;
};

}  // namespace

bool ExecUploadListDlg(QWidget* parent, core::ProgramModel& view, core::LibrarySettings& library) {
    UploadListFields fields = OpenUploadList(view);
    CUploadListDlg dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted) return false;
    ReportUnsaved(parent, ConfirmUploadList(view, fields, library));
    return true;
}

}  // namespace zelo::dialogs
