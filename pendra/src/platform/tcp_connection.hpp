// A TCP connection with bounded waits, behind one small interface: POSIX
// sockets in tcp_connection_posix.cpp, Winsock in
// tcp_connection_windows.cpp. The network line driver (network_port.cpp)
// sees no socket and no #ifdef.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "serial_port.hpp"

namespace pendra::platform {

class TcpConnection {
public:
    virtual ~TcpConnection() = default;

    // Sends every byte, waiting at most `timeoutMs` in all for room. False
    // when the connection failed or the time ran out.
    virtual bool send(const uint8_t* data, std::size_t length, int timeoutMs) = 0;

    // Waits at most `timeoutMs` and takes what has arrived, at most
    // `capacity` bytes. Failed once the other end closed or the connection broke.
    virtual ReadStatus receive(uint8_t* data, std::size_t capacity, int timeoutMs,
                               std::size_t& received) = 0;
};

struct Connected {
    std::unique_ptr<TcpConnection> connection;  // null on failure
    std::string error;     // why not, in words, without the address: "connection refused (...)"
    bool stopped = false;  // the stop check ended the lookup or the connection
};

// Looks `host` up (at most `limit`) and connects to the first of its
// addresses that takes the connection (at most `limit` in all), each wait
// ended early by the stop check (stop_check.hpp). Names ending in
// ".invalid" are unknown without a lookup.
Connected connectTcp(const std::string& host, uint16_t port, std::chrono::milliseconds limit);

// "3 s", "250 ms": a limit as a sentence gives it.
std::string durationText(std::chrono::milliseconds limit);

// How a connection attempt's wait ended, when it did not connect.
enum class WaitEnded { No, TimedOut, Stopped };

// The error of an opening step that the stop check ended.
inline constexpr const char* kStoppedText = "stopped before the line was open";

// Whether `host` can never be found (RFC 6761: the "invalid" domain).
bool neverResolves(const std::string& host);

}  // namespace pendra::platform
