#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "dialogs/poll_settings_form.hpp"
#include "dialogs/qt/dialog_kit.hpp"
#include "dialogs/qt/polling_dialogs.hpp"
#include "dialogs/qt/time_edits.hpp"

namespace zelo::dialogs {
namespace {

class CPollSettingsDlg : public CheckedDialog {
public:
    CPollSettingsDlg(QWidget* parent, PollSettingsFields& fields)
        : CheckedDialog(parent, QStringLiteral("データファイルポーリング")), fields_(fields) {
        auto* layout = new QVBoxLayout(this);

        auto* errorRow = new QHBoxLayout;
        maxError_ = NewIntegerEdit(QStringLiteral("maxError"), fields_.maxError, this);
        errorRow->addWidget(new QLabel(QStringLiteral("エラー発生時ステータス記録 "), this));
        errorRow->addWidget(maxError_);
        errorRow->addWidget(new QLabel(QStringLiteral("回"), this));
        errorRow->addStretch();
        layout->addLayout(errorRow);

        auto* modeBox = new QGroupBox(this);
        auto* modeLayout = new QGridLayout(modeBox);
        mode_ = new QButtonGroup(modeBox);
        const char* captions[] = {"連続ポーリング", "ポーリング周期指定(HH:MM:SS)",
                                  "データが無い時にポール終了", "データが無い場合 "};
        for (int id = 0; id < 4; ++id) {
            auto* button = new QRadioButton(QString::fromUtf8(captions[id]), modeBox);
            button->setObjectName(QStringLiteral("mode%1").arg(id));
            mode_->addButton(button, id);
            modeLayout->addWidget(button, id, 0);
        }
        maxWait_ = NewIntegerEdit(QStringLiteral("maxWait"), fields_.maxWait, modeBox);
        rePollNoData_ =
            NewIntegerEdit(QStringLiteral("rePollNoData"), fields_.rePollNoData, modeBox);
        rePollTime_ = NewIntegerEdit(QStringLiteral("rePollTime"), fields_.rePollTime, modeBox);
        auto* waitRow = new QHBoxLayout;
        waitRow->addWidget(maxWait_);
        waitRow->addWidget(new QLabel(QStringLiteral("秒"), modeBox));
        waitRow->addStretch();
        modeLayout->addLayout(waitRow, 2, 1);
        auto* rePollRow = new QHBoxLayout;
        rePollRow->addWidget(rePollNoData_);
        rePollRow->addWidget(new QLabel(QStringLiteral("秒,"), modeBox));
        rePollRow->addWidget(new QLabel(QStringLiteral("以下の後再ポール "), modeBox));
        rePollRow->addWidget(rePollTime_);
        rePollRow->addWidget(new QLabel(QStringLiteral("秒."), modeBox));
        modeLayout->addLayout(rePollRow, 3, 1);
        CheckRadio(mode_, fields_.pollingMode);
        layout->addWidget(modeBox);

        auto* fileRow = new QHBoxLayout;
        fileName_ = new QLineEdit(ToQt(fields_.fileName), this);
        fileName_->setObjectName(QStringLiteral("fileName"));
        auto* browse = new QPushButton(QStringLiteral("ブラウズ"), this);
        browse->setObjectName(QStringLiteral("browse"));
        browse->setAutoDefault(false);
        fileRow->addWidget(new QLabel(QStringLiteral("ファイル名:"), this));
        fileRow->addWidget(fileName_);
        fileRow->addWidget(browse);
        layout->addLayout(fileRow);

        auto* openBox = new QGroupBox(QStringLiteral("ファイルの開き方"), this);
        openMethod_ = NewRadioGroup(openBox, {"追加", "新規"}, QStringLiteral("open"), false);
        CheckRadio(openMethod_, fields_.openMethod);
        layout->addWidget(openBox);

        auto* startRow = new QHBoxLayout;
        startRow->addWidget(new QLabel(QStringLiteral("開始時間"), this));
        start_ =
            std::make_unique<TimeEdits>(this, startRow, QStringLiteral("start"), fields_.start);
        startRow->addStretch();
        layout->addLayout(startRow);
        auto* stopRow = new QHBoxLayout;
        stopRow->addWidget(new QLabel(QStringLiteral("終了時間"), this));
        stop_ = std::make_unique<TimeEdits>(this, stopRow, QStringLiteral("stop"), fields_.stop);
        stopRow->addStretch();
        layout->addLayout(stopRow);

        noCrLf_ = new QCheckBox(QStringLiteral("各レコードに CR/LF 追加しない"), this);
        noCrLf_->setObjectName(QStringLiteral("noCrLf"));
        noCrLf_->setChecked(fields_.noCrLf != 0);
        layout->addWidget(noCrLf_);

        // The checks also run while the file name is typed; their message
        // shows here at once, without a box taking the focus from the edit.
        liveRefusal_ = new QLabel(this);
        liveRefusal_->setObjectName(QStringLiteral("liveRefusal"));
        layout->addWidget(liveRefusal_);
        layout->addWidget(OkCancel());

        connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
        connect(fileName_, &QLineEdit::textEdited, this,
                [this] { liveRefusal_->setText(ToQt(ReadFields())); });
    }

protected:
    Refusal Collect() override { return ReadFields(); }

private:
    Refusal ReadFields() {
        fields_.pollingMode = mode_->checkedId();
        fields_.fileName = TextOf(fileName_, fields_.fileName);
        fields_.openMethod = openMethod_->checkedId();
        fields_.noCrLf = noCrLf_->isChecked() ? 1 : 0;
        return FirstRefusal({ReadInteger(maxError_, fields_.maxError), start_->Read(fields_.start),
                             stop_->Read(fields_.stop), ReadInteger(maxWait_, fields_.maxWait),
                             ReadInteger(rePollNoData_, fields_.rePollNoData),
                             ReadInteger(rePollTime_, fields_.rePollTime),
                             CheckPollSettings(fields_)});
    }

    void Browse() {
        const QString path = Services().chooseFile(this, QString());
        if (path.isEmpty()) return;
        const Refusal refusal = BrowsePollFile(fields_, PathFromQt(path));
        if (!refusal.empty()) {
            Services().showMessage(this, ToQt(refusal));
            return;
        }
        fileName_->setText(ToQt(fields_.fileName));
    }

    PollSettingsFields& fields_;
    QLineEdit* maxError_;
    QButtonGroup* mode_;
    QLineEdit* maxWait_;
    QLineEdit* rePollNoData_;
    QLineEdit* rePollTime_;
    QLineEdit* fileName_;
    QButtonGroup* openMethod_;
    std::unique_ptr<TimeEdits> start_;
    std::unique_ptr<TimeEdits> stop_;
    QCheckBox* noCrLf_;
    QLabel* liveRefusal_;
};

}  // namespace

bool ExecPollSettingsDlg(QWidget* parent, core::ProgramModel& view) {
    PollSettingsFields fields = OpenPollSettings(view);
    CPollSettingsDlg dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted) return false;
    ReportUnsaved(parent, ConfirmPollSettings(view, fields));
    return true;
}

}  // namespace zelo::dialogs
