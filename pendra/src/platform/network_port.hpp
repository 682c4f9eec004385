// A line reached over the network (network_address.hpp) behind the same
// SerialPort interface as a local device: raw TCP, or Telnet with
// com-port control (RFC 2217), where opening sets the far end's serial
// port to the line settings and raises its DTR and RTS, and closing drops
// DTR so that a modem there hangs up.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "serial_port.hpp"

namespace pendra::platform {

// How long a network line may take for each step of its opening: the
// name lookup, the connection, the server's answers. PENDRA_CONNECT_MS
// (100..60000) replaces the default of 3000.
std::chrono::milliseconds networkStepLimit();

// Opens `path` (rfc2217://HOST:PORT or socket://HOST:PORT). On failure the
// error names the address and says why: refused, unknown host, no answer
// within the limit, the server refused com-port control or the settings.
OpenResult openNetworkPort(const std::string& path, const LineSettings& settings);

class TcpConnection;
// The com-port control set-up over a connection already made, each wait at
// most `limit` (tests hand in a scripted connection). InUse when the server
// closed the connection before granting control.
OpenResult setUpComPortLine(std::unique_ptr<TcpConnection> connection, const std::string& path,
                            const LineSettings& settings, std::chrono::milliseconds limit);

}  // namespace pendra::platform
