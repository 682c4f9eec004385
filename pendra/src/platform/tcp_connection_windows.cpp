// TCP on Winsock: a non-blocking socket, WSAPoll for every wait,
// getaddrinfo on a thread of its own so that a slow name server cannot hold
// the line's opening past its limit. Winsock is started once, on first use.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "result_within.hpp"
#include "stop_check.hpp"
#include "tcp_connection.hpp"

namespace pendra::platform {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

bool winsockStarted() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

std::string systemText(int error) {
    char text[256] = {};
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    if (message.empty()) message = "system error";
    return message + " (" + std::to_string(error) + ")";
}

struct Endpoint {
    int family = 0;
    sockaddr_storage address{};
    int length = 0;
};

struct Lookup {
    int code = 0;
    std::vector<Endpoint> endpoints;
};

Lookup lookUp(const std::string& host, uint16_t port, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    addrinfo* found = nullptr;
    Lookup lookup;
    lookup.code = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup.code != 0) return lookup;
    for (const addrinfo* entry = found; entry != nullptr && lookup.endpoints.size() < 16;
         entry = entry->ai_next) {
        if (entry->ai_addrlen > sizeof(sockaddr_storage)) continue;
        Endpoint endpoint;
        endpoint.family = entry->ai_family;
        std::memcpy(&endpoint.address, entry->ai_addr, entry->ai_addrlen);
        endpoint.length = static_cast<int>(entry->ai_addrlen);
        lookup.endpoints.push_back(endpoint);
    }
    freeaddrinfo(found);
    return lookup;
}

std::string lookupError(int code) {
    switch (code) {
        case WSAHOST_NOT_FOUND:
        case WSANO_DATA:
        case WSANO_RECOVERY: return "unknown host";
        case WSATRY_AGAIN:
            return "the host name could not be looked up now (no name server answered)";
        default: return "the host name could not be looked up: " + systemText(code);
    }
}

std::string connectError(int error) {
    if (error == WSAECONNREFUSED) {
        return "connection refused (nothing listens on that port: is the server running, "
               "and is the port number right?)";
    }
    return systemText(error);
}

class WinsockConnection final : public TcpConnection {
public:
    explicit WinsockConnection(SOCKET socket) : socket_(socket) {}
    WinsockConnection(const WinsockConnection&) = delete;
    WinsockConnection& operator=(const WinsockConnection&) = delete;
    ~WinsockConnection() override { closesocket(socket_); }

    bool send(const uint8_t* data, std::size_t length, int timeoutMs) override {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::size_t done = 0;
        while (done < length) {
            const int chunk = length - done > 0x10000 ? 0x10000 : static_cast<int>(length - done);
            const int sent = ::send(socket_, reinterpret_cast<const char*>(data + done), chunk, 0);
            if (sent > 0) {
                done += static_cast<std::size_t>(sent);
                continue;
            }
            if (sent == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) return false;
            WSAPOLLFD entry{socket_, POLLWRNORM, 0};
            const int ready = WSAPoll(&entry, 1, millisecondsUntil(deadline));
            if (ready <= 0) return false;
            if (entry.revents & (POLLERR | POLLNVAL)) return false;
        }
        return true;
    }

    ReadStatus receive(uint8_t* data, std::size_t capacity, int timeoutMs,
                       std::size_t& received) override {
        received = 0;
        WSAPOLLFD entry{socket_, POLLRDNORM, 0};
        const int ready = WSAPoll(&entry, 1, timeoutMs < 0 ? 0 : timeoutMs);
        if (ready < 0) return ReadStatus::Failed;
        if (ready == 0) return ReadStatus::TimedOut;
        const int wanted = capacity > 0x10000 ? 0x10000 : static_cast<int>(capacity);
        const int got = recv(socket_, reinterpret_cast<char*>(data), wanted, 0);
        if (got > 0) {
            received = static_cast<std::size_t>(got);
            return ReadStatus::Data;
        }
        if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return ReadStatus::TimedOut;
        return ReadStatus::Failed;  // closed by the other end, or reset
    }

private:
    SOCKET socket_;
};

SOCKET connectTo(const Endpoint& endpoint, Clock::time_point deadline, std::string& error,
                 WaitEnded& ended) {
    const SOCKET s = socket(endpoint.family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        error = systemText(WSAGetLastError());
        return INVALID_SOCKET;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (connect(s, reinterpret_cast<const sockaddr*>(&endpoint.address), endpoint.length) != 0) {
        const int started = WSAGetLastError();
        if (started != WSAEWOULDBLOCK) {
            error = connectError(started);
            closesocket(s);
            return INVALID_SOCKET;
        }
        WSAPOLLFD entry{s, POLLWRNORM, 0};
        int ready = 0;
        for (;;) {
            const int left = millisecondsUntil(deadline);
            ready = WSAPoll(&entry, 1, std::min(left, kStopLookMs));
            if (ready != 0 || left <= kStopLookMs || stopAsked()) break;
        }
        if (ready == 0) {
            ended = stopAsked() ? WaitEnded::Stopped : WaitEnded::TimedOut;
            closesocket(s);
            return INVALID_SOCKET;
        }
        int pending = 0;
        int size = sizeof pending;
        getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&pending), &size);
        if (ready < 0 || pending != 0 || (entry.revents & (POLLERR | POLLHUP))) {
            error = connectError(pending != 0 ? pending : WSAECONNREFUSED);
            closesocket(s);
            return INVALID_SOCKET;
        }
    }
    // Frames are small and each waits for its answer: no coalescing delay.
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
    return s;
}

}  // namespace

Connected connectTcp(const std::string& host, uint16_t port, std::chrono::milliseconds limit) {
    Connected connected;
    if (!winsockStarted()) {
        connected.error = "the network (Winsock) could not be started";
        return connected;
    }
    if (neverResolves(host)) {
        connected.error = "unknown host";
        return connected;
    }
    Lookup lookup = lookUp(host, port, AI_NUMERICHOST);
    if (lookup.code != 0) {
        const auto named =
            resultWithin<Lookup>([host, port] { return lookUp(host, port, 0); }, limit);
        if (!named) {
            connected.stopped = stopAsked();
            connected.error = connected.stopped ? kStoppedText
                                                : "looking the host name up took longer than " +
                                                      durationText(limit);
            return connected;
        }
        lookup = *named;
    }
    if (lookup.code != 0 || lookup.endpoints.empty()) {
        connected.error = lookupError(lookup.code != 0 ? lookup.code : WSAHOST_NOT_FOUND);
        return connected;
    }
    // The lookup had its own limit; the connection gets the same again.
    const auto deadline = Clock::now() + limit;
    WaitEnded ended = WaitEnded::No;
    for (const Endpoint& endpoint : lookup.endpoints) {
        if (stopAsked()) ended = WaitEnded::Stopped;
        if (ended != WaitEnded::No) break;
        const SOCKET s = connectTo(endpoint, deadline, connected.error, ended);
        if (s != INVALID_SOCKET) {
            connected.connection = std::make_unique<WinsockConnection>(s);
            connected.error.clear();
            return connected;
        }
    }
    if (ended == WaitEnded::Stopped) {
        connected.stopped = true;
        connected.error = kStoppedText;
    } else if (ended == WaitEnded::TimedOut) {
        connected.error = "no answer to the connection within " + durationText(limit) +
                          " (is the address right, and the server up?)";
    }
    return connected;
}

}  // namespace pendra::platform
