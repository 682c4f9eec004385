// The host's side of polling in batches: the records of one batch reply,
// handed out one per Pendra_POLL under the serials after the batch's own,
// and the caller's acknowledgement that waits while more records are held
// (it goes on the wire as the next request's flag, as an Ack frame once the
// last record held is acknowledged, or when the link closes). Records held
// and not handed out are never acknowledged: the terminal sends them again.
// A terminal that numbers its records (kNumberedRecords) is told instead
// where the host stands by the number in each batch request: the last
// record the caller reported stored (pollStored), or, from a caller that
// never does, the last it acknowledged. Records at or before that number
// that come again are dropped here. Pure bookkeeping, no I/O.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

#include "wire_message.hpp"

namespace pendra {

class PollReadAhead {
public:
    // A batch reply received under `first`: its first record, handed out
    // now, while the rest are held for the serials after it ("no data" when
    // every record of a numbered reply came again). nullopt, with nothing
    // held, when the reply's list of records does not add up.
    std::optional<wire::Reply> start(uint8_t first, const wire::Reply& batch,
                                     std::chrono::steady_clock::time_point now = {});
    // The record to hand out under `serial`, taken from those held; only
    // the next in order is there.
    std::optional<wire::Reply> take(uint8_t serial);
    // Whether the record after the one under `serial` is held.
    bool holdsAfter(uint8_t serial) const;
    // The record handed out last, for a poll asked again before the caller
    // acknowledged it.
    const std::optional<wire::Reply>& handedOut() const { return handedOut_; }
    // Drops the records held and the one handed out; what is owed stays.
    void drop();
    // A new line: drops everything but what is known of the numbering.
    void reset();
    // Whether records are held that came longer than `bound` before `now`:
    // polling stopped meanwhile, and the terminal's own word is fresher.
    bool stale(std::chrono::steady_clock::time_point now,
               std::chrono::steady_clock::duration bound) const {
        return !held_.empty() && now - received_ > bound;
    }

    // The caller acknowledged the record under `serial` while more are
    // held; the terminal has not been told yet.
    void owe(uint8_t serial) { owed_ = serial; }
    std::optional<uint8_t> owed() const { return owed_; }
    // The terminal was told (a request with the flag was answered, or an Ack
    // frame went).
    void settle() { owed_.reset(); }

    // Numbering: asked for once the caller reports what it stored; a reply
    // says whether its batch is numbered (a terminal that does not number,
    // or a record too long for the numbered form, comes unnumbered).
    bool asksNumbered() const { return durable_; }
    bool numbered() const { return numbered_; }
    // What the next batch request tells the terminal.
    uint32_t storedThrough() const { return durable_ ? stored_ : acknowledged_; }
    // The number of the record handed out last (0: none, or not numbered)
    // and how many more are held.
    uint32_t handedOutNumber() const { return handedOut_ ? handedOutNumber_ : 0; }
    std::size_t heldCount() const { return held_.size(); }
    // The caller acknowledged the record handed out last.
    void acknowledgeHandedOut() { acknowledged_ = std::max(acknowledged_, handedOutNumber_); }
    // The caller has the records through `number` on stable storage; from
    // now on only that lets the terminal drop records.
    void stored(uint32_t number) {
        durable_ = true;
        stored_ = number;
        acknowledged_ = std::max(acknowledged_, number);
    }

private:
    bool numbered_ = false;  // the batch held is numbered
    bool durable_ = false;
    uint32_t stored_ = 0;
    uint32_t acknowledged_ = 0;
    uint32_t handedOutNumber_ = 0;
    std::deque<uint32_t> numbers_;  // of the records held, when numbered

    uint8_t next_ = 0;  // serial of the first record held
    std::deque<wire::Reply> held_;
    std::optional<wire::Reply> handedOut_;
    std::optional<uint8_t> owed_;
    std::chrono::steady_clock::time_point received_{};
};

}  // namespace pendra
