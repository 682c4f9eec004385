// The line test: numbered packets sent character by character, each waiting
// briefly for an acknowledgement.
#include <array>
#include <cstdio>

#include "link/terminal_link.hpp"
#include "zelodll.h"

namespace zelo::link {
namespace {

constexpr int kPackets = 1000;
constexpr int kReadsPerPacket = 11;
constexpr char kStx = 2;
constexpr char kEtx = 3;
constexpr unsigned char kAck = 6;
constexpr std::size_t kPacketLength = 122;
constexpr char kLineTestAddress = 'A';
constexpr int kLinePort = 0;  // the raw character functions ignore the port

}  // namespace

void CTerminalLink::LineTest(LinkStatus& status) {
    status.idle = 0;
    ShowResult(kLineTestAddress, "3", "", 0);
    for (int n = 0; n < kPackets; ++n) {
        std::array<char, kPacketLength + 1> packet{};
        const int written = std::snprintf(
            packet.data(), packet.size(),
            "%cABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmopqrstuvwxyz123456789012345678901234567890"
            "123456789012345678901234567--%10d%c",
            kStx, n, kEtx);
        for (int i = 0; i < written; ++i) HC_putch(kLinePort, packet[static_cast<std::size_t>(i)]);

        for (int read = 0; read < kReadsPerPacket && status.idle == 0; ++read) {
            if (IsStopRequested() != 0) {
                WaitUntilIdle(status);
                return;
            }
            if (HC_getch(kLinePort) == kAck) break;
            if (read == kReadsPerPacket - 1) ShowResult(kLineTestAddress, " Time out", "", 0);
        }
        if (IsStopRequested() != 0) {
            WaitUntilIdle(status);
            return;
        }
        char label[32];
        std::snprintf(label, sizeof label, "Pack %10d", n + 1);
        ShowResult(kLineTestAddress, label, "", 0);
    }
    if (IsStopRequested() != 0) {
        WaitUntilIdle(status);
        return;
    }
    ShowResult(kLineTestAddress, "4", "", 0);
    ShowResult(kLineTestAddress, "5", "", 0);
    status.idle = 1;
}

}  // namespace zelo::link
