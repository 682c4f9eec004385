// The network line driver on Winsock, against a loopback listener the test
// holds itself (a connection completes in the listener's backlog before it
// is accepted, so no second thread is needed).
#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <string>

#include "serial_port.hpp"

namespace pendra::platform {
namespace {

class LoopbackListener {
public:
    LoopbackListener() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(socket_, 4);
        int size = sizeof address;
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackListener() {
        if (accepted_ != INVALID_SOCKET) closesocket(accepted_);
        close();
        WSACleanup();
    }
    void close() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    SOCKET accept() {
        accepted_ = ::accept(socket_, nullptr, nullptr);
        return accepted_;
    }
    std::string address(const char* scheme) const {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_);
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
    SOCKET accepted_ = INVALID_SOCKET;
    int port_ = 0;
};

TEST(WinsockLine, RawBytesBothWays) {
    LoopbackListener listener;
    OpenResult opened = openSerialPort(listener.address("socket"), LineSettings{});
    ASSERT_TRUE(opened.port) << opened.error;
    const SOCKET peer = listener.accept();
    ASSERT_NE(peer, INVALID_SOCKET);

    const uint8_t frame[] = {0x1B, 0xFF, 0x00, 0x41};
    ASSERT_TRUE(opened.port->write(frame, sizeof frame, 1000));
    char got[8] = {};
    ASSERT_EQ(recv(peer, got, sizeof got, 0), 4);
    EXPECT_EQ(std::string(got, 4), std::string("\x1b\xff\x00\x41", 4));

    ASSERT_EQ(send(peer, "\x06\xff", 2, 0), 2);
    uint8_t back[8] = {};
    std::size_t received = 0;
    ASSERT_EQ(opened.port->read(back, sizeof back, 2000, received), ReadStatus::Data);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), received), "\x06\xff");

    closesocket(peer);
    EXPECT_EQ(opened.port->read(back, sizeof back, 2000, received), ReadStatus::Failed);
}

TEST(WinsockLine, RefusedAndSilentServersSayWhy) {
    _putenv("PENDRA_CONNECT_MS=300");
    LoopbackListener silent;
    const std::string address = silent.address("rfc2217");
    OpenResult opened = openSerialPort(address, LineSettings{});
    EXPECT_FALSE(opened.port);
    EXPECT_NE(opened.error.find(address + ": no answer from the server within 300 ms"),
              std::string::npos)
        << opened.error;

    silent.close();
    opened = openSerialPort(address, LineSettings{});
    EXPECT_FALSE(opened.port);
    EXPECT_NE(opened.error.find(address + ": connection refused"), std::string::npos)
        << opened.error;
    _putenv("PENDRA_CONNECT_MS=");
}

}  // namespace
}  // namespace pendra::platform
