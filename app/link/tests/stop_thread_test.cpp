#include <future>
#include <thread>

#include "answering_terminal.hpp"

namespace zelo::link::testing {
namespace {

// The Stop command on another thread while a terminal is being asked: the
// operation ends without a line for that terminal and asks no other.
TEST_F(AnsweringTerminalTest, StopFromAnotherThreadEndsTheOperation) {
    answering = {'A', 'C'};
    std::promise<void> requestStarted;
    std::promise<void> stopDone;
    std::shared_future<void> stopDoneFuture = stopDone.get_future().share();
    fake_pendra::setResponder([&](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::ESC_A && c.address == 'A') {
            requestStarted.set_value();
            stopDoneFuture.wait();
        }
        return AnsweringTerminal(c);
    });
    std::thread worker([&] { link.WarmStart(operation); });

    requestStarted.get_future().wait();
    link.RequestStop();
    HM_stop_communication();
    status.idle = 1;
    stopDone.set_value();
    worker.join();

    EXPECT_TRUE(link.written.empty());
    EXPECT_EQ(progress.addressStatus[0], kStatusWorking);
    EXPECT_EQ(AddressesOf(Fn::ESC_A), "A");
}

}  // namespace
}  // namespace zelo::link::testing
