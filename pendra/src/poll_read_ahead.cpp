#include "poll_read_ahead.hpp"

#include <string>
#include <vector>

#include "frame.hpp"
#include "poll_batch.hpp"

namespace pendra {

namespace {

uint8_t serialAfter(uint8_t serial) {
    return static_cast<uint8_t>((serial + 1) & wire::kSerialMask);
}

}  // namespace

std::optional<wire::Reply> PollReadAhead::start(uint8_t first, const wire::Reply& batch,
                                                std::chrono::steady_clock::time_point now) {
    drop();
    received_ = now;
    numbered_ = batch.status == wire::kNumberedRecords;
    std::vector<std::string> records;
    uint32_t number = 0;
    if (batch.status == wire::kNumberedRecords) {
        auto numbered = wire::unpackNumberedRecords(batch.payload, batch.more);
        if (!numbered) return std::nullopt;
        records = std::move(numbered->records);
        number = numbered->first;
    } else {
        auto unnumbered = wire::unpackRecords(batch.payload, batch.more);
        if (!unnumbered) return std::nullopt;
        records = std::move(*unnumbered);
    }
    for (std::string& record : records) {
        // Numbered and already handed to the caller: came again because
        // the terminal had not heard where the host stands.
        if (number != 0 && number <= storedThrough()) {
            ++number;
            continue;
        }
        wire::Reply reply;
        reply.status = number != 0 ? uint8_t{1} : batch.status;
        reply.payload = std::move(record);
        held_.push_back(std::move(reply));
        numbers_.push_back(number);
        if (number != 0) ++number;
    }
    next_ = static_cast<uint8_t>(first & wire::kSerialMask);
    if (held_.empty()) {
        // Every one of them came again: nothing new yet.
        wire::Reply none;
        none.status = 3;
        return none;
    }
    return take(next_);
}

std::optional<wire::Reply> PollReadAhead::take(uint8_t serial) {
    if (held_.empty() || (serial & wire::kSerialMask) != next_) return std::nullopt;
    handedOut_ = std::move(held_.front());
    held_.pop_front();
    handedOutNumber_ = numbers_.front();
    numbers_.pop_front();
    next_ = serialAfter(next_);
    return handedOut_;
}

bool PollReadAhead::holdsAfter(uint8_t serial) const {
    return !held_.empty() && next_ == serialAfter(serial);
}

void PollReadAhead::drop() {
    held_.clear();
    numbers_.clear();
    handedOut_.reset();
}

void PollReadAhead::reset() {
    drop();
    owed_.reset();
    numbered_ = false;
}

}  // namespace pendra
