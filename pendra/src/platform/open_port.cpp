// One entry for every kind of line: a network address goes to the network
// driver, anything else to the platform's serial device driver.
#include "network_address.hpp"
#include "network_port.hpp"
#include "serial_device.hpp"
#include "serial_port.hpp"

namespace pendra::platform {

OpenResult openSerialPort(const std::string& path, const LineSettings& settings) {
    if (isNetworkAddress(path)) return openNetworkPort(path, settings);
    return openSerialDevice(path, settings);
}

}  // namespace pendra::platform
