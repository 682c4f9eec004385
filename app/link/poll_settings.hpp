#pragma once

#include <string>

namespace zelo::link {

// Polling and clock synchronisation settings.
struct PollSettings {
    std::string pollFileName = "POLL.DAT";
    int openMethod = 0;  // 0 append, 1 new
    int maxError = 1;
    int pollingPeriod = 0;  // 0 continuous, 1 specify, 2 exit when no data in period, 3 re-poll
    int rePollNoData = 30;
    int rePollTime = 60;
    int pollMaxWait = 10;
    std::string startTime = "00:00:00";
    std::string stopTime = "23:59:59";
    int notAppendCrLf = 1;
    int autoTimeSync = 0;  // 0 none, 1 at start, 2 in a window
    std::string autoSyncStart = "06:00:00";
    std::string autoSyncStop = "08:00:00";
};

}  // namespace zelo::link
