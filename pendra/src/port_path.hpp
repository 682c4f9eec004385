// Which device a COM port number opens. In order: the environment variable
// PENDRA_DEVICE (one device for whatever port is asked: a program's
// --port), PENDRA_PORT<n>, a line "n=path" of the ports file (its path from
// PENDRA_PORTS_FILE, else ./pendra.ports), the platform's default
// (/dev/ttyS<n-1> on Linux).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pendra {

inline constexpr int32_t kMaxPort = 256;
inline constexpr std::size_t kMaxDevicePath = 1024;

// nullopt, with the reason in `error`, for a port outside 1..256.
std::optional<std::string> devicePathForPort(int32_t port, std::string& error);

// The path a ports file gives for `port`: lines "n=path"; blank lines and
// lines starting with '#' are skipped; spaces around both parts are
// ignored. Only the first 64 KiB are read and lines longer than
// kMaxDevicePath are skipped.
std::optional<std::string> pathFromPortsText(const std::string& text, int32_t port);

}  // namespace pendra
