#include "link/link_readiness.hpp"

namespace zelo::link {

int CheckLinkReadiness(const CommSettings& settings, const LinkStatus& status,
                       const std::function<bool()>& confirmDial) {
    if (settings.addresses.empty() || settings.addresses.front() == '\0') return kLinkNotReady;
    if (status.connected != 0) return kLinkOpen;
    if (status.useModem == 0) return kLinkConnectDirect;
    return confirmDial && confirmDial() ? kLinkConnectModem : kLinkNotReady;
}

}  // namespace zelo::link
