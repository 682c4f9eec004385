#include "stop_check.hpp"

#include <atomic>

namespace pendra::platform {

namespace {

std::atomic<StopCheck> installed{nullptr};

}  // namespace

void setStopCheck(StopCheck check) { installed.store(check, std::memory_order_release); }

bool stopAsked() {
    const StopCheck check = installed.load(std::memory_order_acquire);
    return check != nullptr && check();
}

}  // namespace pendra::platform
