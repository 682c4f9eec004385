#pragma once

#include <functional>

#include "link/comm_settings.hpp"
#include "link/link_status.hpp"

namespace zelo::link {

// What the worker does before a terminal command.
enum LinkReadiness : int {
    kLinkNotReady = 0,       // no terminals, or the dial was cancelled: drop the command
    kLinkOpen = 1,           // run the command at once
    kLinkConnectDirect = 2,  // Connect first; run only if it succeeds
    kLinkConnectModem = 3,   // the dial dialog was confirmed: Connect dials
};

// The view asks this before each command. confirmDial shows the dial
// dialog and returns true on OK; it is asked only when the modem is in use
// and the line is not open.
int CheckLinkReadiness(const CommSettings& settings, const LinkStatus& status,
                       const std::function<bool()>& confirmDial);

}  // namespace zelo::link
