// A stop from the window thread ends a modem wait on the worker thread.
#include <atomic>
#include <chrono>
#include <thread>

#include "library_fixture.hpp"

namespace {

using Clock = std::chrono::steady_clock;

// Runs `modemCall` on a worker thread against a modem that never answers,
// asks it to stop once it is polling, and returns what it returned.
template <typename ModemCall>
int32_t stopWhileWaiting(ModemCall modemCall) {
    std::atomic<bool> polling{false};
    fake_pendra::setResponder(
        [&](const fake_pendra::Call& call) -> std::optional<fake_pendra::Reply> {
            if (call.fn == fake_pendra::Fn::ModemEcho) polling.store(true);
            return std::nullopt;
        });
    int32_t result = -1;
    std::thread worker([&] { result = modemCall(); });
    while (!polling.load()) std::this_thread::yield();
    HM_stop_communication();
    worker.join();
    fake_pendra::setResponder(nullptr);
    return result;
}

}  // namespace

TEST_F(LibraryTest, StopEndsAModemInitialisationWithTen) {
    const auto start = Clock::now();
    EXPECT_EQ(stopWhileWaiting([] { return HC_modem_Init(1, "ATZ", 60000); }), ZELO_STOPPED);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30)) << "long before the time-out";
}

TEST_F(LibraryTest, StopEndsADialWithTen) {
    const auto start = Clock::now();
    EXPECT_EQ(stopWhileWaiting([] { return HC_modem_Dial(1, "ATDT123", 60000); }), ZELO_STOPPED);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30)) << "long before the time-out";
}
