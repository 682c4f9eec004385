#include "dialogs/poll_settings_form.hpp"

namespace zelo::dialogs {

PollSettingsFields OpenPollSettings(core::ProgramModel& view) {
    view.ReloadConfiguration();
    const core::PollSettings& poll = view.State().poll;
    PollSettingsFields fields;
    fields.maxError = poll.maxError;
    fields.pollingMode = poll.pollingPeriod;
    fields.fileName = poll.pollFileName;
    fields.openMethod = poll.openMethod;
    fields.start = SplitTimeText(poll.startTime);
    fields.stop = SplitTimeText(poll.stopTime);
    fields.noCrLf = poll.notAppendCrLf;
    fields.maxWait = poll.pollMaxWait;
    fields.rePollNoData = poll.rePollNoData;
    fields.rePollTime = poll.rePollTime;
    return fields;
}

Refusal CheckPollSettings(const PollSettingsFields& fields) {
    return FirstRefusal({
        // The configuration takes nothing outside 0..100 either.
        CheckRange(fields.maxError, 0, kMaxErrorLimit),
        CheckRange(fields.pollingMode, 0, 3),
        CheckLength(fields.fileName, kMaxPollFileName, "The file name"),
        CheckRange(fields.openMethod, 0, 1),
        CheckTime(fields.start),
        CheckTime(fields.stop),
    });
}

Refusal BrowsePollFile(PollSettingsFields& fields, std::string path) {
    Refusal refusal = CheckLength(path, kMaxPollFileName, "The chosen path");
    if (refusal.empty()) fields.fileName = std::move(path);
    return refusal;
}

bool ConfirmPollSettings(core::ProgramModel& view, const PollSettingsFields& fields) {
    core::PollSettings& poll = view.State().poll;
    poll.maxError = fields.maxError;
    poll.pollingPeriod = fields.pollingMode;
    poll.pollFileName = fields.fileName;
    poll.openMethod = fields.openMethod;
    poll.startTime = FormatTimeText(fields.start);
    poll.stopTime = FormatTimeText(fields.stop);
    poll.notAppendCrLf = fields.noCrLf != 0 ? 1 : 0;
    poll.pollMaxWait = fields.maxWait;
    poll.rePollNoData = fields.rePollNoData;
    poll.rePollTime = fields.rePollTime;
    return view.SaveConfiguration();
}

}  // namespace zelo::dialogs
