#include "fault_injector.hpp"

#include "frame.hpp"

namespace termsim {

double FaultInjector::draw() { return static_cast<double>(random_()) / 4294967296.0; }

Fault FaultInjector::next(bool ackFrame) {
    if (!settings_.any()) return Fault::None;
    double value = draw();
    const std::pair<double, Fault> order[] = {
        {settings_.drop, Fault::Drop},     {settings_.nak, Fault::Nak},
        {settings_.silent, Fault::Silent}, {settings_.corrupt, Fault::Corrupt},
        {settings_.late, Fault::Late},
    };
    for (const auto& [fraction, fault] : order) {
        if (value < fraction) return ackFrame && fault != Fault::Drop ? Fault::None : fault;
        value -= fraction;
    }
    return Fault::None;
}

void FaultInjector::damage(std::string& frameBytes) {
    constexpr std::size_t kHeader = pendra::wire::kReplyHeaderSize;
    if (frameBytes.size() <= kHeader) return;
    const std::size_t at = kHeader + random_() % (frameBytes.size() - kHeader);
    frameBytes[at] = static_cast<char>(frameBytes[at] ^ (1u << (random_() % 8)));
}

}  // namespace termsim
