#pragma once

#include <string_view>

#include "link/poll_context.hpp"

namespace zelo::link {

// The polled-data file's form of one record: the address, a blank and the
// record exactly as the terminal sent it. No terminator is added: whether
// records are separated by CR LF depends only on what the terminals send.
// Written and flushed at once; false when any of it failed, so that the run
// can end before more acknowledged records are lost.
bool StorePollRecord(PollContext& context, char address, std::string_view record);

}  // namespace zelo::link
