#include "stop_cuts.hpp"

#include <atomic>

#include "pendra.h"

namespace zelo {

namespace {

// Stops asked so far; a cut applies when it has moved since the scope began.
std::atomic<uint32_t> stopsAsked{0};

// The scope of the calling thread; the link layer asks on that thread.
thread_local bool active = false;
thread_local uint32_t reference = 0;

int32_t PENDRA_API linkShouldStop() {
    return active && stopsAsked.load(std::memory_order_acquire) != reference ? 1 : 0;
}

}  // namespace

StopCutsWaits::StopCutsWaits() : wasActive_(active), wasReference_(reference) {
    active = true;
    reference = stopsAsked.load(std::memory_order_acquire);
}

StopCutsWaits::~StopCutsWaits() {
    active = wasActive_;
    reference = wasReference_;
}

void countStop() { stopsAsked.fetch_add(1, std::memory_order_acq_rel); }

void installStopCheck() { Pendra_set_stop_check(&linkShouldStop); }

}  // namespace zelo
