#include "state_dump_signal.hpp"

#include <pthread.h>
#include <signal.h>

#include <iostream>

namespace termsim {

namespace {

sigset_t dumpSignal() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGUSR1);
    return set;
}

}  // namespace

StateDumpOnSignal::StateDumpOnSignal(SimulatedLine& line) : line_(line) {
    const sigset_t set = dumpSignal();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    waiter_ = std::thread([this] { waitForSignals(); });
}

StateDumpOnSignal::~StateDumpOnSignal() {
    stopping_ = true;
    pthread_kill(waiter_.native_handle(), SIGUSR1);
    waiter_.join();
}

void StateDumpOnSignal::waitForSignals() {
    const sigset_t set = dumpSignal();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0 || stopping_) return;
        // Without a dump file the state goes to the error stream, which
        // leaves standard output to the pseudo-terminal's path.
        if (!line_.writeStateDump()) std::cerr << line_.stateJson() << std::flush;
    }
}

}  // namespace termsim
