#include "link_clock.hpp"

#include <thread>

namespace pendra {

namespace {

class SteadyClock final : public LinkClock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleepFor(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
};

}  // namespace

LinkClock& steadyClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace pendra
