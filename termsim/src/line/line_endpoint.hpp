// Where the simulator's line server sits: on a pseudo-terminal it creates
// (the host then opens its slave path), or on a serial device of its own
// (a null-modem cable to the host), opened with the link layer's serial code.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "pseudo_terminal.hpp"
#include "serial_port.hpp"

namespace termsim {

struct LineEndpoint {
    std::unique_ptr<PseudoTerminal> pty;                 // kept while serving
    std::unique_ptr<pendra::platform::SerialPort> port;  // for the LineServer
    std::string hostPath;  // the pseudo-terminal's slave path, or the device
};

// `device` empty: a new pseudo-terminal. Otherwise the device, held alone,
// with `settings`. nullopt, with the reason in `error`, on failure.
std::optional<LineEndpoint> openLineEndpoint(const std::string& device,
                                             const pendra::platform::LineSettings& settings,
                                             std::string& error);

}  // namespace termsim
