#include "poll_read_ahead.hpp"

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
    const auto records = wire::unpackRecords(batch.payload, batch.more);
    if (!records) return std::nullopt;
    for (const std::string& record : *records) {
        wire::Reply reply;
        reply.status = batch.status;
        reply.payload = record;
        held_.push_back(std::move(reply));
    }
    next_ = static_cast<uint8_t>(first & wire::kSerialMask);
    return take(next_);
}

std::optional<wire::Reply> PollReadAhead::take(uint8_t serial) {
    if (held_.empty() || (serial & wire::kSerialMask) != next_) return std::nullopt;
    handedOut_ = std::move(held_.front());
    held_.pop_front();
    next_ = serialAfter(next_);
    return handedOut_;
}

bool PollReadAhead::holdsAfter(uint8_t serial) const {
    return !held_.empty() && next_ == serialAfter(serial);
}

void PollReadAhead::drop() {
    held_.clear();
    handedOut_.reset();
}

}  // namespace pendra
