// What the terminal side remembers per address to keep retries exact: the
// last request it answered, the reply, and whether the host acknowledged it
// (rules in docs/wire-protocol.md, "Acknowledgement").
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "wire_message.hpp"

namespace termsim {

class ExchangeMemory {
public:
    // An Ack frame with `serial`. True when it acknowledges the last reply
    // for the first time: the terminal is then told.
    bool acknowledge(char address, uint8_t serial);

    struct Decision {
        // The reply to send again without acting (the same request again).
        std::optional<pendra::wire::Reply> replay;
        // The request's flag acknowledges the last reply, whose Ack frame
        // was lost: tell the terminal before the request.
        bool ackFirst = false;
    };
    Decision arrived(const pendra::wire::Request& request, uint8_t serial, bool flag);

    // The terminal answered `request` under `serial`. Negative
    // acknowledgements are not remembered: the request is taken afresh.
    void answered(const pendra::wire::Request& request, uint8_t serial,
                  const pendra::wire::Reply& reply);

    // Forgets the last exchange with `address` (a stream took over its
    // serials), so that no later request is taken for a repeat of it.
    void forget(char address) { last_[static_cast<uint8_t>(address)] = Last{}; }

private:
    struct Last {
        bool valid = false;
        uint8_t serial = 0;
        pendra::wire::Request request;
        pendra::wire::Reply reply;
        bool acknowledged = false;
    };
    std::array<Last, 256> last_;
};

}  // namespace termsim
