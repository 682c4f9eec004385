#include "line_adapter.hpp"

#include <iostream>

#include "command_line.hpp"

#if TERMSIM_HAVE_LINE_SIDE
#include "line/line_server.hpp"
#endif

namespace termsim {

int runLine(const LineSetup& setup, TerminalLine& line) {
#if TERMSIM_HAVE_LINE_SIDE
    // Expected from the line side: serve requests until the line is closed
    // or the process is told to stop, and return 0 or a failure status.
    return runLineServer(setup, line) == 0 ? kExitDone : kExitFailure;
#else
    (void)setup;
    (void)line;
    std::cerr << "zelo-termsim: this build has no line side; only --print-state and "
                 "--help work\n";
    return kExitNoLineSide;
#endif
}

}  // namespace termsim
