#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <memory>

#include "dialogs/auto_time_sync_form.hpp"
#include "dialogs/qt/dialog_kit.hpp"
#include "dialogs/qt/polling_dialogs.hpp"
#include "dialogs/qt/time_edits.hpp"
#include "dialogs/time_sync_form.hpp"

namespace zelo::dialogs {
namespace {

class CAutoTimeSyncDlg : public CheckedDialog {
public:
    CAutoTimeSyncDlg(QWidget* parent, AutoTimeSyncFields& fields)
        : CheckedDialog(parent, QStringLiteral("自動時刻同期")), fields_(fields) {
        auto* layout = new QVBoxLayout(this);
        auto* modeBox = new QGroupBox(this);
        mode_ = NewRadioGroup(
            modeBox, {"なし", "ポーリング実行後に時刻同期", "ポーリング時指定した時刻で時刻同期"},
            QStringLiteral("mode"));
        CheckRadio(mode_, fields_.syncMode);
        layout->addWidget(modeBox);
        auto* startRow = new QHBoxLayout;
        startRow->addWidget(new QLabel(QStringLiteral("開始"), this));
        start_ =
            std::make_unique<TimeEdits>(this, startRow, QStringLiteral("start"), fields_.start);
        startRow->addStretch();
        layout->addLayout(startRow);
        auto* stopRow = new QHBoxLayout;
        stopRow->addWidget(new QLabel(QStringLiteral("終了"), this));
        stop_ = std::make_unique<TimeEdits>(this, stopRow, QStringLiteral("stop"), fields_.stop);
        stopRow->addStretch();
        layout->addLayout(stopRow);
        layout->addWidget(OkCancel());
    }

protected:
    Refusal Collect() override {
        fields_.syncMode = mode_->checkedId();
        return FirstRefusal(
            {start_->Read(fields_.start), stop_->Read(fields_.stop), CheckAutoTimeSync(fields_)});
    }

private:
    AutoTimeSyncFields& fields_;
    QButtonGroup* mode_;
    std::unique_ptr<TimeEdits> start_;
    std::unique_ptr<TimeEdits> stop_;
};

class CTimeSyncDlg : public CheckedDialog {
public:
    CTimeSyncDlg(QWidget* parent, TimeSyncFields& fields)
        : CheckedDialog(parent, QStringLiteral("時刻同期")), fields_(fields) {
        auto* layout = new QVBoxLayout(this);
        auto* sourceBox = new QGroupBox(this);
        useSetTime_ = NewRadioGroup(sourceBox, {"システム時刻", "以下に指定する時刻"},
                                    QStringLiteral("source"));
        CheckRadio(useSetTime_, fields_.useSetTime);
        layout->addWidget(sourceBox);

        auto* given = new QGroupBox(QStringLiteral("以下に同期"), this);
        auto* grid = new QGridLayout(given);
        year_ = NewIntegerEdit(QStringLiteral("year"), fields_.year, given);
        month_ = NewIntegerEdit(QStringLiteral("month"), fields_.month, given);
        day_ = NewIntegerEdit(QStringLiteral("day"), fields_.day, given);
        hour_ = NewIntegerEdit(QStringLiteral("hour"), fields_.hour, given);
        minute_ = NewIntegerEdit(QStringLiteral("minute"), fields_.minute, given);
        second_ = NewIntegerEdit(QStringLiteral("second"), fields_.second, given);
        grid->addWidget(new QLabel(QStringLiteral("YYYY:MM:DD"), given), 0, 0);
        grid->addWidget(year_, 0, 1);
        grid->addWidget(month_, 0, 2);
        grid->addWidget(day_, 0, 3);
        grid->addWidget(new QLabel(QStringLiteral("HH:MM:SS"), given), 1, 0);
        grid->addWidget(hour_, 1, 1);
        grid->addWidget(minute_, 1, 2);
        grid->addWidget(second_, 1, 3);
        layout->addWidget(given);
        layout->addWidget(OkCancel());
    }

protected:
    Refusal Collect() override {
        fields_.useSetTime = useSetTime_->checkedId();
        // In the order the fields are exchanged: day, hour, minute, month,
        // second, year.
        return FirstRefusal({ReadInteger(day_, fields_.day), ReadInteger(hour_, fields_.hour),
                             ReadInteger(minute_, fields_.minute),
                             ReadInteger(month_, fields_.month),
                             ReadInteger(second_, fields_.second), ReadInteger(year_, fields_.year),
                             CheckTimeSync(fields_)});
    }

private:
    TimeSyncFields& fields_;
    QButtonGroup* useSetTime_;
    QLineEdit* year_;
    QLineEdit* month_;
    QLineEdit* day_;
    QLineEdit* hour_;
    QLineEdit* minute_;
    QLineEdit* second_;
};

}  // namespace

bool ExecAutoTimeSyncDlg(QWidget* parent, core::ProgramModel& view) {
    AutoTimeSyncFields fields = OpenAutoTimeSync(view);
    CAutoTimeSyncDlg dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted) return false;
    ReportUnsaved(parent, ConfirmAutoTimeSync(view, fields));
    return true;
}

bool ExecTimeSyncDlg(QWidget* parent, core::TimeSyncRequest& request, const core::LocalTime& now) {
    TimeSyncFields fields = OpenTimeSync(now);
    CTimeSyncDlg dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted) return false;
    ConfirmTimeSync(fields, request);
    return true;
}

bool ExecTimeSyncDlg(QWidget* parent, core::TimeSyncRequest& request) {
    const QDateTime clock = QDateTime::currentDateTime();
    const QDate date = clock.date();
    const QTime time = clock.time();
    core::LocalTime now;
    now.year = date.year();
    now.month = date.month();
    now.day = date.day();
    now.weekday = date.dayOfWeek() % 7;
    now.hour = time.hour();
    now.minute = time.minute();
    now.second = time.second();
    return ExecTimeSyncDlg(parent, request, now);
}

}  // namespace zelo::dialogs
