#include "port_path.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "serial_port.hpp"

namespace pendra {

namespace {

constexpr std::size_t kMaxPortsFile = 64 * 1024;

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<std::string> usablePath(const char* value) {
    if (value == nullptr) return std::nullopt;
    const std::size_t length = ::strnlen(value, kMaxDevicePath + 1);
    if (length == 0 || length > kMaxDevicePath) return std::nullopt;
    return std::string(value, length);
}

std::string readPortsFile() {
    const char* named = std::getenv("PENDRA_PORTS_FILE");
    const std::string path = (named != nullptr && named[0] != 0) ? named : "pendra.ports";
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return {};
    std::string text(kMaxPortsFile, '\0');
    text.resize(std::fread(text.data(), 1, kMaxPortsFile, file));
    std::fclose(file);
    return text;
}

}  // namespace

std::optional<std::string> pathFromPortsText(const std::string& text, int32_t port) {
    const std::string wanted = std::to_string(port);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() > kMaxDevicePath + 8) continue;
        const std::string content = trimmed(line);
        if (content.empty() || content[0] == '#') continue;
        const auto equals = content.find('=');
        if (equals == std::string::npos || trimmed(content.substr(0, equals)) != wanted) continue;
        std::string path = trimmed(content.substr(equals + 1));
        if (path.empty() || path.find('\0') != std::string::npos) continue;
        return path;
    }
    return std::nullopt;
}

std::optional<std::string> devicePathForPort(int32_t port, std::string& error) {
    if (port < 1 || port > kMaxPort) {
        error = "port " + std::to_string(port) + " is outside 1.." + std::to_string(kMaxPort);
        return std::nullopt;
    }
    // One device for this run, whatever COM number the program asks for.
    if (auto path = usablePath(std::getenv("PENDRA_DEVICE"))) return path;
    const std::string variable = "PENDRA_PORT" + std::to_string(port);
    if (auto path = usablePath(std::getenv(variable.c_str()))) return path;
    if (auto path = pathFromPortsText(readPortsFile(), port)) return path;
    return platform::defaultDevicePath(port);
}

}  // namespace pendra
