#include "headless/serial_ports.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

namespace zelo::headless {
namespace {

namespace fs = std::filesystem;

// Only these families are serial lines; /dev holds many other ttys.
bool SerialFamily(const std::string& name) {
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "ttymxc", "rfcomm"}) {
        const std::string p(prefix);
        if (name.size() > p.size() && name.compare(0, p.size(), p) == 0 &&
            std::all_of(name.begin() + static_cast<long>(p.size()), name.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            return true;
        }
    }
    return false;
}

// An on-board port node exists whether or not a UART is behind it; the
// kernel's port type 0 means there is none.
bool HasHardware(const std::string& sysRoot, const std::string& name) {
    if (name.rfind("ttyS", 0) != 0) return true;
    std::ifstream type(sysRoot + "/" + name + "/type");
    int kind = 0;
    return type >> kind && kind != 0;
}

}  // namespace

std::vector<SerialDevice> FindSerialDevices(const std::string& devRoot,
                                            const std::string& sysRoot) {
    std::map<std::string, SerialDevice> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(sysRoot, error)) {
        const std::string name = entry.path().filename().string();
        if (!SerialFamily(name) || !HasHardware(sysRoot, name)) continue;
        const std::string path = devRoot + "/" + name;
        if (!fs::exists(path, error)) continue;
        SerialDevice device;
        device.path = path;
        if (name.rfind("ttyS", 0) == 0) device.comPort = std::stoi(name.substr(4)) + 1;
        found.emplace(path, device);
    }
    for (const auto& entry : fs::directory_iterator(devRoot + "/serial/by-id", error)) {
        std::error_code linkError;
        const fs::path target = fs::canonical(entry.path(), linkError);
        if (linkError) continue;
        const std::string name = target.filename().string();
        auto device = found.find(devRoot + "/" + name);
        if (device == found.end()) continue;
        device->second.byId.push_back(entry.path().string());
    }
    std::vector<SerialDevice> devices;
    for (auto& [path, device] : found) {
        std::sort(device.byId.begin(), device.byId.end());
        devices.push_back(std::move(device));
    }
    return devices;
}

std::string SerialDeviceListing(const std::vector<SerialDevice>& devices) {
    if (devices.empty()) {
        return "No serial devices found. A USB adapter shows up as /dev/ttyUSB0 or /dev/ttyACM0\n"
               "once plugged in; `dmesg | tail` tells what the system made of it.\n";
    }
    std::string text;
    for (const SerialDevice& device : devices) {
        text += device.path;
        if (device.comPort > 0) text += "  (COM" + std::to_string(device.comPort) + " by default)";
        text += "\n";
        for (const std::string& link : device.byId) text += "    " + link + "\n";
    }
    text += "Use one with --port DEVICE, or set PENDRA_PORT<n>=DEVICE for COM port n.\n";
    return text;
}

}  // namespace zelo::headless
