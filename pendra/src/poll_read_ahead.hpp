// The host's side of polling in batches: the records of one batch reply,
// handed out one per Pendra_POLL under the serials after the batch's own,
// and the caller's acknowledgement that waits while more records are held
// (it goes on the wire as the next request's flag, as an Ack frame once the
// last record held is acknowledged, or when the link closes). Records held
// and not handed out are never acknowledged: the terminal sends them again.
// Pure bookkeeping, no I/O.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

#include "wire_message.hpp"

namespace pendra {

class PollReadAhead {
public:
    // A batch reply received under `first`: its first record, handed out
    // now, while the rest are held for the serials after it. nullopt, with
    // nothing held, when the reply's list of records does not add up.
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

private:
    uint8_t next_ = 0;  // serial of the first record held
    std::deque<wire::Reply> held_;
    std::optional<wire::Reply> handedOut_;
    std::optional<uint8_t> owed_;
    std::chrono::steady_clock::time_point received_{};
};

}  // namespace pendra
