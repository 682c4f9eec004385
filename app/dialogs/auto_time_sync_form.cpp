#include "dialogs/auto_time_sync_form.hpp"

namespace zelo::dialogs {

AutoTimeSyncFields OpenAutoTimeSync(core::ProgramModel& view) {
    view.ReloadConfiguration();
    const core::PollSettings& poll = view.State().poll;
    return {poll.autoTimeSync, SplitTimeText(poll.autoSyncStart), SplitTimeText(poll.autoSyncStop)};
}

Refusal CheckAutoTimeSync(const AutoTimeSyncFields& fields) {
    return FirstRefusal(
        {CheckRange(fields.syncMode, 0, 2), CheckTime(fields.start), CheckTime(fields.stop)});
}

bool ConfirmAutoTimeSync(core::ProgramModel& view, const AutoTimeSyncFields& fields) {
    core::PollSettings& poll = view.State().poll;
    poll.autoTimeSync = fields.syncMode;
    poll.autoSyncStart = FormatTimeText(fields.start);
    poll.autoSyncStop = FormatTimeText(fields.stop);
    return view.SaveConfiguration();
}

}  // namespace zelo::dialogs
