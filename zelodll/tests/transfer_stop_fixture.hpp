// What the stop tests share: a worker thread held inside the link layer at
// its third acknowledgement until the window thread has asked to stop, so
// that the stop always lands in the middle of a transfer.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#include "transfer_fixture.hpp"

namespace transfer_test {

class TransferStopTest : public TransferTest {
protected:
    // Lets `terminal` answer, holding the worker at the third acknowledgement.
    template <typename Terminal>
    void serveUntilStopped(Terminal& terminal) {
        fake_pendra::setResponder([this, &terminal](const fake_pendra::Call& c) {
            if (c.fn == fake_pendra::Fn::ACK && ++acknowledged == 3) waitForStop();
            return terminal.answer(c);
        });
    }

    // The window thread's part: the stop, once three packets have gone.
    void stopAfterThreePackets() {
        while (acknowledged.load() < 3) std::this_thread::yield();
        HM_stop_communication();
    }

private:
    // Bounded, so that a lost stop fails the test instead of hanging it.
    static void waitForStop() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!zelo::state().stopRequested() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    }

    // Acknowledgements counted by the worker, read by the window thread.
    std::atomic<int> acknowledged{0};
};

}  // namespace transfer_test
