// What the stop tests share: a worker thread held inside the link layer at
// its third acknowledgement until the window thread has asked to stop, so
// that the stop always lands in the middle of a transfer.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#include "transfer_fixture.hpp"
#include "upload_file.hpp"

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

    // Runs `transfer` on a worker thread while this one, the window
    // thread, asks to stop once three packets have gone; its result.
    template <typename Transfer>
    int32_t runAndStop(Transfer transfer) {
        int32_t code = -1;
        std::thread worker([&] { code = transfer(); });
        while (acknowledged.load() < 3) std::this_thread::yield();
        HM_stop_communication();
        worker.join();
        return code;
    }

    // What an upload into `local` (a file that did not exist), stopped after
    // three packets, must leave: 10, the cancel, the file closed, and
    // neither a local file nor its temporary.
    void expectUploadEndedAtTheStop(int32_t code, const std::string& local) {
        EXPECT_EQ(code, ZELO_STOPPED);
        EXPECT_EQ(fake_pendra::count(fake_pendra::Fn::ESC_Y), 3);
        EXPECT_EQ(fake_pendra::count(fake_pendra::Fn::ACK), 3);
        EXPECT_EQ(genericRequests(), std::vector<std::string>{"y"});  // the cancel
        EXPECT_EQ(files.openFiles, 0);
        EXPECT_FALSE(std::filesystem::exists(local));
        EXPECT_FALSE(std::filesystem::exists(zelo::uploadTemporaryName(local)));
    }
    // And a download: 10, three packets taken, the file cancelled rather
    // than ended, and closed.
    void expectDownloadEndedAtTheStop(int32_t code, const DownloadTerminal& terminal) {
        EXPECT_EQ(code, ZELO_STOPPED);
        EXPECT_EQ(terminal.dataPackets, 3);
        EXPECT_TRUE(terminal.cancelled);
        EXPECT_FALSE(terminal.ended);
        EXPECT_EQ(files.openFiles, 0);
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
