// The stop flag is set by one thread while another polls it.
#include <atomic>
#include <thread>

#include "library_fixture.hpp"

TEST_F(LibraryTest, StopFromAnotherThreadIsSeenByThePollingThread) {
    std::atomic<bool> seen{false};
    std::thread worker([&] {
        while (!zelo::state().stopRequested()) std::this_thread::yield();
        seen = true;
    });
    HM_stop_communication();
    worker.join();
    EXPECT_TRUE(seen);
}

TEST_F(LibraryTest, StopWhileTheWorkerSwitchesPowerSaving) {
    // The worker keeps issuing commands while the window thread asks to stop;
    // only the flag crosses between them.
    fake_pendra::setDefault(fake_pendra::Fn::DBG, reply(4));
    std::thread worker([] {
        for (int i = 0; i < 3; ++i) HM_power_saving_off(1, 'A');
    });
    for (int i = 0; i < 100; ++i) HM_stop_communication();
    worker.join();
    EXPECT_TRUE(zelo::state().stopRequested());
}
