#pragma once

#include "link/comm_settings.hpp"
#include "link/link_status.hpp"
#include "link/progress_state.hpp"

namespace zelo::link {

// The records every terminal operation works on: the line's settings, the
// flags it shares with the user interface thread, and the progress display.
// The caller owns all three; an operation only borrows them for its run.
// Most operations only read the settings; Connect (the speed it found),
// ChangeAddress and SetCommParameters write them back.
struct OperationContext {
    CommSettings& settings;
    LinkStatus& status;
    ProgressState& progress;
};

}  // namespace zelo::link
