// A line reached over the network instead of a local device:
//   rfc2217://HOST:PORT  Telnet with com-port control (RFC 2217): the far
//                        end sets its serial port as the link asks
//   socket://HOST:PORT   raw TCP: the far end's line settings are its own
// HOST is a name, an IPv4 address or an IPv6 address in brackets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pendra::platform {

struct NetworkAddress {
    enum class Kind { ComPortControl, RawSocket };
    Kind kind = Kind::RawSocket;
    std::string host;   // without brackets
    uint16_t port = 0;  // 1..65535
};

// Whether `path` names a network line at all (by its scheme, in any case);
// such a path never opens as a device, even when it is not well formed.
bool isNetworkAddress(const std::string& path);

// nullopt, with the reason in `error`, for a path that is not a well-formed
// network address: an unknown scheme, no host, a host over 253 characters
// or with characters no name or address has, no port or one outside
// 1..65535, anything after the port.
std::optional<NetworkAddress> parseNetworkAddress(const std::string& path, std::string& error);

}  // namespace pendra::platform
