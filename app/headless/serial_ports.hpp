#pragma once

#include <string>
#include <vector>

namespace zelo::headless {

// One serial device the system has, with the stable names that point at it.
struct SerialDevice {
    std::string path;               // "/dev/ttyUSB0"
    std::vector<std::string> byId;  // "/dev/serial/by-id/usb-FTDI_..."
    int comPort = 0;                // the COM number it stands for by default (ttyS<n-1>), else 0
};

// The serial devices under `devRoot` (normally "/dev"), as the kernel's
// `sysRoot` ("/sys/class/tty") tells them: USB adapters, on-board ports
// that have hardware behind them, Bluetooth and board UARTs; sorted by path.
std::vector<SerialDevice> FindSerialDevices(const std::string& devRoot = "/dev",
                                            const std::string& sysRoot = "/sys/class/tty");

// The listing --list-ports prints.
std::string SerialDeviceListing(const std::vector<SerialDevice>& devices);

}  // namespace zelo::headless
