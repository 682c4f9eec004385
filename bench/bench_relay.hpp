// Two pseudo-terminals joined as the two ends of one serial line: bytes
// written on either side reach the other at the line's pace, `delay` later.
// For programs that open a device themselves (sz, rz).
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "pseudo_terminal.hpp"

namespace bench {

class PacedRelay {
public:
    static std::unique_ptr<PacedRelay> create(int32_t baud, std::chrono::milliseconds delay,
                                              std::string& error);
    PacedRelay(const PacedRelay&) = delete;
    PacedRelay& operator=(const PacedRelay&) = delete;
    ~PacedRelay();

    const std::string& pathA() const { return a_->slavePath(); }
    const std::string& pathB() const { return b_->slavePath(); }

private:
    PacedRelay() = default;
    void carry(pendra::platform::SerialPort& from, pendra::platform::SerialPort& to);

    int32_t baud_ = 0;
    std::chrono::milliseconds delay_{0};
    std::unique_ptr<termsim::PseudoTerminal> a_;
    std::unique_ptr<termsim::PseudoTerminal> b_;
    std::unique_ptr<pendra::platform::SerialPort> masterA_;
    std::unique_ptr<pendra::platform::SerialPort> masterB_;
    std::atomic<bool> stopping_{false};
    std::thread aToB_;
    std::thread bToA_;
};

}  // namespace bench
