// The terminal's side of polling in batches (protocol version 2): a batch
// request is answered with as many of the front records as one reply holds,
// and the records count as replies under the request's serial and the ones
// after it. The terminal moves past a record only when the host
// acknowledges it (an Ack frame for its serial or a later one, or a
// request whose flag acknowledges the serial before its own), each one
// handed out and acknowledged to the terminal just as a stop-and-wait poll
// would be. Records sent but not acknowledged stay at the front and go
// again in a later reply. One batch per terminal address.
//
// A request that asks for numbered records (it says the number of the last
// record the host has stored) is answered with numbered records when the
// terminal numbers them: the records through that number are dropped first,
// and nothing else lets the terminal drop them (no Ack frame, no flag).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "terminal_line.hpp"
#include "wire_message.hpp"

namespace termsim {

class PollBatches {
public:
    explicit PollBatches(TerminalLine& terminals) : terminals_(terminals) {}

    // Whether a batch to `address` is out, so that its Ack frames are ours.
    bool active(char address) const { return batches_[slot(address)].active; }

    // A batch request under `serial`. The reply to send: the same reply
    // again when it repeats the request of the batch out (its reply was
    // lost), else a new batch. nullopt when nobody answers at the address.
    std::optional<pendra::wire::Reply> request(const pendra::wire::Request& request, uint8_t serial,
                                               bool flag, bool& repeated);

    // An Ack frame under `serial`: every record of the batch through it.
    void acknowledge(char address, uint8_t serial);

    // Any other request: its flag acknowledges the records through the
    // serial before its own; the batch is over.
    void otherRequest(char address, uint8_t serial, bool flag);

private:
    struct Batch {
        bool active = false;
        uint8_t first = 0;      // serial of its first record
        std::size_t count = 0;  // records in it (0: the reply said "no data")
        std::size_t acked = 0;  // of them acknowledged, from the first
        bool numbered = false;  // acknowledged by number only
        std::string requestPayload;
        pendra::wire::Reply reply;
    };

    static std::size_t slot(char address) { return static_cast<uint8_t>(address); }
    void acknowledgeThrough(char address, Batch& batch, uint8_t serial);
    pendra::wire::Reply build(const pendra::wire::Request& request, Batch& batch, bool& answered);

    TerminalLine& terminals_;
    std::array<Batch, 256> batches_{};
};

}  // namespace termsim
