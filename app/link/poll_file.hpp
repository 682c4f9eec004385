#pragma once

#include <cstdint>
#include <string_view>

#include "link/poll_context.hpp"

namespace zelo::link {

// The polled-data file's form of one record: the address, a blank and the
// record exactly as the terminal sent it. No terminator is added: whether
// records are separated by CR LF depends only on what the terminals send.
// Written at once (readers see it) and noted beside the file with the
// terminal's number for it (0: not numbered); put on stable storage by the
// next CommitPollRecords. False when any of it failed, so that the run can
// end before more records are lost.
bool StorePollRecord(PollContext& context, char address, std::string_view record,
                     uint32_t number = 0);

// Syncs the polled-data file and keeps the numbers of what it holds, then
// tells the link layer, so that the terminals may drop those records. False
// when the file could not be synced or the numbers kept: nothing is told.
bool CommitPollRecords(PollContext& context);

}  // namespace zelo::link
