// Polling in batches (protocol version 2), the link's side: one request
// brings as many of a terminal's records as one reply holds; the link hands
// them out one per Pendra_POLL, each under the serial a stop-and-wait poll
// would have had, and the terminal moves past a record only once the caller
// acknowledged it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link_line.hpp"
#include "peer_serials.hpp"
#include "poll_read_ahead.hpp"
#include "wire_message.hpp"

namespace pendra {

class PollBatches {
public:
    // The terminal polls in version 2 (its poll reply said so).
    bool mayBatch() const { return mayBatch_; }
    void allow() { mayBatch_ = true; }
    // The line was opened again: nothing held, nothing owed.
    void reset();

    // The record for the caller's Pendra_POLL `request`.
    Outcome poll(LinkLine& line, PeerSerials& serials, const wire::Request& request);
    // Before any other request to the terminal: records held are dropped, to
    // be sent again; an acknowledgement owed rides on the request's flag.
    void settle(PeerSerials& serials);
    // The caller's Pendra_ACK: true when it waits, more records being held.
    bool deferAcknowledgement(PeerSerials& serials);
    // A request whose flag told the terminal was answered.
    void told() { ahead_.settle(); }
    // Numbered records: the number of the record handed out last to the
    // caller (0 when the terminal does not number) and how many more are
    // held; and the caller's word that it has the records through `number`
    // on stable storage.
    void number(uint32_t& number, std::size_t& held) const;
    void stored(uint32_t number, int protocol);
    // Sends an acknowledgement still owed, as the line closes.
    void flush(LinkLine& line, char address);

private:
    bool mayBatch_ = false;
    PollReadAhead ahead_;
};

}  // namespace pendra
