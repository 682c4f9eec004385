#include "line_pacer.hpp"

#include <algorithm>
#include <thread>

namespace termsim {

LinePacer::Clock::duration LinePacer::lineTime(std::size_t bytes) const {
    if (baud_ <= 0) return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::microseconds(static_cast<long long>(bytes) * 10'000'000LL / baud_));
}

LinePacer::Clock::time_point LinePacer::readReturned(Clock::time_point now) {
    const auto since = std::min(now, writingSince_);
    writingSince_ = Clock::time_point::max();
    return since;
}

void LinePacer::arrived(std::size_t bytes, Clock::time_point since) {
    inboundDone_ = std::max(inboundDone_, since) + lineTime(bytes);
}

void LinePacer::waitForArrival() const { std::this_thread::sleep_until(inboundDone_); }

bool LinePacer::write(pendra::platform::SerialPort& port, const std::string& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    writingSince_ = std::min(writingSince_, Clock::now());
    if (baud_ <= 0) return port.write(data, bytes.size(), 5000);
    // Chunks of about 5 ms of line time, each handed over when its last
    // byte would have reached the other end.
    const std::size_t chunk = std::max<std::size_t>(1, static_cast<std::size_t>(baud_) / 2000);
    auto lineDone = Clock::now();
    for (std::size_t done = 0; done < bytes.size(); done += chunk) {
        const std::size_t length = std::min(chunk, bytes.size() - done);
        lineDone += lineTime(length);
        std::this_thread::sleep_until(lineDone);
        if (!port.write(data + done, length, 5000)) return false;
    }
    return true;
}

}  // namespace termsim
