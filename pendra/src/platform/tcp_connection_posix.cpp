// TCP on POSIX sockets: a non-blocking socket, poll() for every wait,
// getaddrinfo on a thread of its own so that a slow name server cannot hold
// the line's opening past its limit.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

struct Endpoint {
    int family = 0;
    sockaddr_storage address{};
    socklen_t length = 0;
};

struct Lookup {
    int code = 0;  // getaddrinfo's result
    std::vector<Endpoint> endpoints;
};

Lookup lookUp(const std::string& host, uint16_t port, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    Lookup lookup;
    lookup.code = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup.code != 0) return lookup;
    for (const addrinfo* entry = found; entry != nullptr && lookup.endpoints.size() < 16;
         entry = entry->ai_next) {
        if (entry->ai_addrlen > sizeof(sockaddr_storage)) continue;
        Endpoint endpoint;
        endpoint.family = entry->ai_family;
        std::memcpy(&endpoint.address, entry->ai_addr, entry->ai_addrlen);
        endpoint.length = entry->ai_addrlen;
        lookup.endpoints.push_back(endpoint);
    }
    ::freeaddrinfo(found);
    return lookup;
}

std::string lookupError(int code) {
    switch (code) {
        case EAI_NONAME:
#ifdef EAI_NODATA
        case EAI_NODATA:
#endif
        case EAI_FAIL: return "unknown host";
        case EAI_AGAIN: return "the host name could not be looked up now (no name server answered)";
        default:
            return std::string("the host name could not be looked up: ") + ::gai_strerror(code);
    }
}

std::string connectError(int error) {
    switch (error) {
        case ECONNREFUSED:
            return "connection refused (nothing listens on that port: is the server running, "
                   "and is the port number right?)";
        case ENETUNREACH:
        case EHOSTUNREACH:
            return std::string("no route to the host (") + std::strerror(error) + ")";
        default: return std::strerror(error);
    }
}

class SocketConnection final : public TcpConnection {
public:
    explicit SocketConnection(int fd) : fd_(fd) {}
    SocketConnection(const SocketConnection&) = delete;
    SocketConnection& operator=(const SocketConnection&) = delete;
    ~SocketConnection() override { ::close(fd_); }

    bool send(const uint8_t* data, std::size_t length, int timeoutMs) override {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::size_t done = 0;
        while (done < length) {
            // MSG_NOSIGNAL: a closed connection is a failed write, not SIGPIPE.
            const ssize_t sent = ::send(fd_, data + done, length - done, MSG_NOSIGNAL);
            if (sent > 0) {
                done += static_cast<std::size_t>(sent);
                continue;
            }
            if (sent < 0 && errno == EINTR) continue;
            if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
            pollfd entry{fd_, POLLOUT, 0};
            const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
            if (ready == 0) return false;
            if (ready < 0 && errno != EINTR) return false;
            if (entry.revents & (POLLERR | POLLNVAL)) return false;
        }
        return true;
    }

    ReadStatus receive(uint8_t* data, std::size_t capacity, int timeoutMs,
                       std::size_t& received) override {
        received = 0;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            pollfd entry{fd_, POLLIN, 0};
            const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
            if (ready < 0) {
                if (errno == EINTR) continue;
                return ReadStatus::Failed;
            }
            if (ready == 0) return ReadStatus::TimedOut;
            const ssize_t got = ::recv(fd_, data, capacity, 0);
            if (got > 0) {
                received = static_cast<std::size_t>(got);
                return ReadStatus::Data;
            }
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
            return ReadStatus::Failed;  // closed by the other end, or reset
        }
    }

private:
    int fd_;
};

// One attempt; -1 with `error` set when it failed, or with `ended` set when
// the time ran out or the stop check said to stop.
int connectTo(const Endpoint& endpoint, Clock::time_point deadline, std::string& error,
              WaitEnded& ended) {
    const int fd = ::socket(endpoint.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    int result =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&endpoint.address), endpoint.length);
    if (result != 0 && errno == EINPROGRESS) {
        for (;;) {
            pollfd entry{fd, POLLOUT, 0};
            const int left = millisecondsUntil(deadline);
            const int ready = ::poll(&entry, 1, std::min(left, kStopLookMs));
            if (ready < 0 && errno == EINTR) continue;
            if (ready == 0 && left > kStopLookMs && !stopAsked()) continue;
            if (ready <= 0) {
                ended = stopAsked() ? WaitEnded::Stopped : WaitEnded::TimedOut;
                ::close(fd);
                return -1;
            }
            int pending = 0;
            socklen_t size = sizeof pending;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &pending, &size);
            errno = pending;
            result = pending == 0 ? 0 : -1;
            break;
        }
    }
    if (result != 0) {
        error = connectError(errno);
        ::close(fd);
        return -1;
    }
    // Frames are small and each waits for its answer: no coalescing delay.
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    return fd;
}

}  // namespace

Connected connectTcp(const std::string& host, uint16_t port, std::chrono::milliseconds limit) {
    Connected connected;
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
        connected.error = lookupError(lookup.code != 0 ? lookup.code : EAI_NONAME);
        return connected;
    }
    // The lookup had its own limit; the connection gets the same again.
    const auto deadline = Clock::now() + limit;
    WaitEnded ended = WaitEnded::No;
    for (const Endpoint& endpoint : lookup.endpoints) {
        if (stopAsked()) ended = WaitEnded::Stopped;
        if (ended != WaitEnded::No) break;
        const int fd = connectTo(endpoint, deadline, connected.error, ended);
        if (fd >= 0) {
            connected.connection = std::make_unique<SocketConnection>(fd);
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
