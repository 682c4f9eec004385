// What the link remembers per terminal address to number exchanges: every
// request carries the serial after that of the last reply received, so a
// request that went unanswered is asked again under the same serial.
#pragma once

#include <cstdint>

#include "frame.hpp"

namespace pendra {

struct PeerSerials {
    uint8_t repliedSerial = 0;  // serial of the last reply received
    bool replied = false;       // a reply came at all since the link was made
    bool acknowledged = false;  // the host acknowledged that reply

    uint8_t next() const { return static_cast<uint8_t>((repliedSerial + 1) & wire::kSerialMask); }
    // The tag of a request under `serial`: its flag acknowledges the last reply.
    uint8_t tag(uint8_t serial) const {
        return static_cast<uint8_t>(serial | (acknowledged ? wire::kTagFlag : 0));
    }
    // The terminal answered the request under `serial`.
    void answered(uint8_t serial) {
        repliedSerial = serial;
        replied = true;
        acknowledged = false;
    }
};

}  // namespace pendra
