#pragma once

#include <QWidget>

#include "core/core_platform.hpp"
#include "core/program_model.hpp"

namespace zelo::dialogs {

// "ポール(&o)": how polling runs and where its records go, started from
// the file. True on OK, after the settings were stored and saved.
bool ExecPollSettingsDlg(QWidget* parent, core::ProgramModel& view);

// "時刻同期(&S)": when polling also sets the terminals' clocks. True on OK,
// after the settings were stored and saved.
bool ExecAutoTimeSyncDlg(QWidget* parent, core::ProgramModel& view);

// "時刻と日付": the time the clock-setting command sends, started with the
// PC's clock (`now`, or the clock read once when left out). True on OK,
// after the request holds the dialog's values; the caller then starts the
// command. Cancel leaves the request as it was.
bool ExecTimeSyncDlg(QWidget* parent, core::TimeSyncRequest& request);
bool ExecTimeSyncDlg(QWidget* parent, core::TimeSyncRequest& request, const core::LocalTime& now);

}  // namespace zelo::dialogs
