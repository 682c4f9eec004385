#pragma once

#include <array>
#include <memory>

#include "link/comm_settings.hpp"
#include "link/handed_over_text.hpp"
#include "link/poll_numbers.hpp"
#include "platform/platform.hpp"

namespace zelo::link {

// Polling-run state the view keeps beside its PollSettings: what outlives one
// run (the last-record times, the open polled-data file) and the re-poll flag.
// Written by the worker; the progress display reads the last-record times.
struct PollContext {
    int rePollWaiting = 0;  // 1 while a re-poll pause runs
    // "hh:mm:ss  " of the last record from each address position.
    std::array<HandedOverText, kAddressSlots> lastRecordTimes;
    // Open while LinkStatus::pollFileOpen is 1; a stopped run leaves it open.
    std::unique_ptr<platform::AppendFile> file;
    // Beside it, the numbers of the records it holds (poll_numbers.hpp).
    std::unique_ptr<PollNumbers> numbers;
};

}  // namespace zelo::link
