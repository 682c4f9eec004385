#pragma once

#include "core/program_model.hpp"
#include "dialogs/field_checks.hpp"
#include "dialogs/time_fields.hpp"

namespace zelo::dialogs {

// The automatic time synchronisation dialog's fields.
struct AutoTimeSyncFields {
    int syncMode = 0;  // 0 none, 1 after polling, 2 at the times set here
    TimeParts start;
    TimeParts stop;
};

// The dialog always starts from the file.
AutoTimeSyncFields OpenAutoTimeSync(core::ProgramModel& view);
Refusal CheckAutoTimeSync(const AutoTimeSyncFields& fields);
// OK, after the check: stores the mode and both times, and saves. False
// when the file was not written.
bool ConfirmAutoTimeSync(core::ProgramModel& view, const AutoTimeSyncFields& fields);

}  // namespace zelo::dialogs
