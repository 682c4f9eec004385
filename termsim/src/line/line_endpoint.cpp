#include "line_endpoint.hpp"

namespace termsim {

std::optional<LineEndpoint> openLineEndpoint(const std::string& device,
                                             const pendra::platform::LineSettings& settings,
                                             std::string& error) {
    LineEndpoint endpoint;
    if (device.empty()) {
        endpoint.pty = PseudoTerminal::create(error);
        if (!endpoint.pty) return std::nullopt;
        endpoint.hostPath = endpoint.pty->slavePath();
        endpoint.port = endpoint.pty->takeMaster();
        return endpoint;
    }
    pendra::platform::OpenResult opened = pendra::platform::openSerialPort(device, settings);
    if (!opened.port) {
        error = opened.error;
        return std::nullopt;
    }
    endpoint.hostPath = device;
    endpoint.port = std::move(opened.port);
    return endpoint;
}

}  // namespace termsim
