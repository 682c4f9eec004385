// SIGUSR1 asks for the state dump. The signal is taken by a thread of its
// own with sigwait, so the dump is written outside any signal handler.
#pragma once

#include <atomic>
#include <thread>

#include "simulated_line.hpp"

namespace termsim {

class StateDumpOnSignal {
public:
    // Blocks SIGUSR1 in the calling thread (and so in every thread started
    // after it) before the waiting thread starts.
    explicit StateDumpOnSignal(SimulatedLine& line);
    ~StateDumpOnSignal();

    StateDumpOnSignal(const StateDumpOnSignal&) = delete;
    StateDumpOnSignal& operator=(const StateDumpOnSignal&) = delete;

private:
    void waitForSignals();

    SimulatedLine& line_;
    std::atomic<bool> stopping_{false};
    std::thread waiter_;
};

}  // namespace termsim
