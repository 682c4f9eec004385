// The words for a serial device that would not open; shared by every
// platform so that the same reason reads the same.
#include "serial_port.hpp"

namespace pendra::platform {

std::string describeOpenFailure(const std::string& path, OpenFailure failure, long holderPid,
                                const std::string& detail) {
    switch (failure) {
        case OpenFailure::None: return {};
        case OpenFailure::NoSuchDevice: return path + ": no such device";
        case OpenFailure::PermissionDenied:
            return path +
                   ": permission denied (join the dialout group: sudo usermod -aG dialout $USER, "
                   "then log in again)";
        case OpenFailure::InUse:
            return path + ": in use by another program" +
                   (holderPid > 0 ? " (process " + std::to_string(holderPid) + ")" : "");
        case OpenFailure::NotSerialDevice: return path + ": not a serial device";
        case OpenFailure::SettingsRefused:
            return path + ": the device refused the line settings" +
                   (detail.empty() ? "" : " (" + detail + ")");
        case OpenFailure::LineLost:
            return path + ": the line was lost (" + detail +
                   "): the device failed or went away; check the cable, the adapter or the "
                   "device server";
        case OpenFailure::Other: break;
    }
    return path + ": " + (detail.empty() ? "cannot open" : detail);
}

}  // namespace pendra::platform
