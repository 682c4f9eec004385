#pragma once

#include <atomic>

namespace zelo::link {

// Flags shared by the user interface thread, the worker and the connection
// object. Each is written by one side and polled by the other, so each is
// atomic; none is guarded by a lock.
struct LinkStatus {
    std::atomic<int> connected{0};    // the port is open for commands
    std::atomic<int> idle{1};         // no operation is running
    std::atomic<int> powerSaving{0};  // Power_Saving is on in the configuration
    std::atomic<int> autoBaud{0};     // search the speed when connecting
    std::atomic<int> pollFileOpen{0};
    std::atomic<int> showErrorBox{0};  // failed results also show a box in command-line mode
    std::atomic<int> useModem{0};
    std::atomic<int> commandLineMode{0};  // commands come from the command line or a script
    std::atomic<int> closing{0};          // the main window has begun to close
};

// Sleeps 10 ms at a time until `status.idle` is non-zero.
void WaitForIdle(const LinkStatus& status);

}  // namespace zelo::link
