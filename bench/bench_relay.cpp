#include "bench_relay.hpp"

#include "delay_line.hpp"
#include "line_pacer.hpp"

namespace bench {

std::unique_ptr<PacedRelay> PacedRelay::create(int32_t baud, std::chrono::milliseconds delay,
                                               std::string& error) {
    std::unique_ptr<PacedRelay> relay(new PacedRelay);
    relay->baud_ = baud;
    relay->delay_ = delay;
    relay->a_ = termsim::PseudoTerminal::create(error);
    if (!relay->a_) return nullptr;
    relay->b_ = termsim::PseudoTerminal::create(error);
    if (!relay->b_) return nullptr;
    relay->masterA_ = relay->a_->takeMaster();
    relay->masterB_ = relay->b_->takeMaster();
    PacedRelay& r = *relay;
    r.aToB_ = std::thread([&r] { r.carry(*r.masterA_, *r.masterB_); });
    r.bToA_ = std::thread([&r] { r.carry(*r.masterB_, *r.masterA_); });
    return relay;
}

PacedRelay::~PacedRelay() {
    stopping_.store(true);
    if (aToB_.joinable()) aToB_.join();
    if (bToA_.joinable()) bToA_.join();
}

void PacedRelay::carry(pendra::platform::SerialPort& from, pendra::platform::SerialPort& to) {
    // The pacer reads ahead from `from` while it writes; that comes first.
    termsim::LinePacer pacer(baud_, from);
    termsim::DelayedWriter delayed(to, delay_);
    uint8_t buffer[256];
    std::string bytes;
    termsim::LinePacer::Clock::time_point seen;
    while (!stopping_.load()) {
        if (!pacer.takeEarlyInput(bytes, seen)) {
            std::size_t received = 0;
            if (from.read(buffer, sizeof buffer, 20, received) !=
                pendra::platform::ReadStatus::Data) {
                continue;
            }
            bytes.assign(reinterpret_cast<const char*>(buffer), received);
        }
        pacer.write(delayed, bytes);
    }
}

}  // namespace bench
