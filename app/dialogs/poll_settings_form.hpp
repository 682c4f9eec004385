#pragma once

#include <cstddef>
#include <string>

#include "core/program_model.hpp"
#include "dialogs/field_checks.hpp"
#include "dialogs/time_fields.hpp"

namespace zelo::dialogs {

// The polled-data file name the configuration keeps.
inline constexpr std::size_t kMaxPollFileName = 99;
inline constexpr int kMaxErrorLimit = 100;

// The polling settings dialog's fields, in the order it exchanges them.
struct PollSettingsFields {
    int maxError = 1;     // 0..100
    int pollingMode = 0;  // 0 continuous, 1 period given, 2 end without data, 3 poll again
    std::string fileName;
    int openMethod = 0;  // 0 append, 1 new
    TimeParts start;
    TimeParts stop;
    int noCrLf = 1;
    int maxWait = 10;
    int rePollNoData = 30;
    int rePollTime = 60;
};

// The dialog always starts from the file; the stored times are split into
// their three numbers.
PollSettingsFields OpenPollSettings(core::ProgramModel& view);

// The range checks, in the order of the fields: also run whenever the file
// name's text changes, as the dialog reads every field then.
Refusal CheckPollSettings(const PollSettingsFields& fields);

// The browse button chose `path`; refused, changing nothing, when it is
// longer than the file name the configuration keeps.
Refusal BrowsePollFile(PollSettingsFields& fields, std::string path);

// OK, after CheckPollSettings accepted the fields: stores them, the times as
// "hh:mm:ss", and saves. False when the file was not written.
bool ConfirmPollSettings(core::ProgramModel& view, const PollSettingsFields& fields);

}  // namespace zelo::dialogs
