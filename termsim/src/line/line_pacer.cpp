#include "line_pacer.hpp"

#include <algorithm>
#include <thread>

namespace termsim {

namespace {
// How long the pacer sleeps before it looks at the input again.
constexpr auto kWatchSlice = std::chrono::milliseconds(2);
}  // namespace

LinePacer::Clock::duration LinePacer::lineTime(std::size_t bytes) const {
    if (baud_ <= 0) return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::microseconds(static_cast<long long>(bytes) * 10'000'000LL / baud_));
}

void LinePacer::arrived(std::size_t bytes, Clock::time_point since) {
    inboundDone_ = std::max(inboundDone_, since) + lineTime(bytes);
}

void LinePacer::waitForArrival() { sleepUntil(inboundDone_); }

bool LinePacer::write(pendra::platform::SerialPort& port, const std::string& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (baud_ <= 0) return port.write(data, bytes.size(), 5000);
    // Chunks of about 5 ms of line time, each handed over when its last
    // byte would have reached the other end.
    const std::size_t chunk = std::max<std::size_t>(1, static_cast<std::size_t>(baud_) / 2000);
    auto lineDone = Clock::now();
    for (std::size_t done = 0; done < bytes.size(); done += chunk) {
        const std::size_t length = std::min(chunk, bytes.size() - done);
        lineDone += lineTime(length);
        sleepUntil(lineDone);
        if (!port.write(data + done, length, 5000)) return false;
    }
    return true;
}

bool LinePacer::takeEarlyInput(std::string& bytes, Clock::time_point& seen) {
    if (early_.empty()) return false;
    bytes = std::move(early_.front().bytes);
    seen = early_.front().seen;
    early_.pop_front();
    earlyBytes_ -= bytes.size();
    return true;
}

void LinePacer::sleepUntil(Clock::time_point until) {
    for (auto now = Clock::now(); now < until; now = Clock::now()) {
        std::this_thread::sleep_until(std::min(until, now + kWatchSlice));
        collectInput();
    }
}

// A failed device is left for the serving loop's own read to find.
void LinePacer::collectInput() {
    uint8_t buffer[1024];
    while (earlyBytes_ < kMaxEarlyBytes) {
        std::size_t received = 0;
        const std::size_t room = std::min(sizeof buffer, kMaxEarlyBytes - earlyBytes_);
        if (input_.read(buffer, room, 0, received) != pendra::platform::ReadStatus::Data ||
            received == 0) {
            return;
        }
        early_.push_back(
            {std::string(reinterpret_cast<const char*>(buffer), received), Clock::now()});
        earlyBytes_ += received;
    }
}

}  // namespace termsim
