// The Stop command on the user interface thread while the worker polls or
// transfers: the operation returns promptly, without a line for the record
// or file in progress.
#include <atomic>
#include <chrono>
#include <thread>

#include "terminal_line.hpp"

namespace zelo::link::testing {
namespace {

using fake_pendra::Call;
using fake_pendra::Fn;
using Clock = std::chrono::steady_clock;

class StopThreadTest : public FileTerminalsTest {
protected:
    // The user interface thread's Stop once `ready` holds, then the wait
    // for the worker; returns how long the worker took to end.
    template <typename Ready>
    Clock::duration StopWhen(std::thread& worker, Ready ready) {
        while (!ready()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto stoppedAt = Clock::now();
        link.RequestStop();
        HM_stop_communication();
        status.idle = 1;
        worker.join();
        return Clock::now() - stoppedAt;
    }
};

TEST_F(StopThreadTest, StopEndsAPollingRun) {
    PollSettings settings;
    settings.pollFileName = File("POLL.DAT");
    PollContext context;
    std::atomic<int> polls{0};
    fake_pendra::setResponder([&](const Call& call) -> std::optional<fake_pendra::Reply> {
        if (call.fn == Fn::ACK) return Answer(0);
        if (call.fn != Fn::POLL) return std::nullopt;
        ++polls;
        return Answer(1, "r\r\n");
    });
    std::thread worker([&] { link.Poll(operation, settings, context); });
    const auto took = StopWhen(worker, [&] { return polls.load() >= 20; });

    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_TRUE(link.lines.empty());
    EXPECT_EQ(status.pollFileOpen, 1);  // left open for the next run to close
    EXPECT_EQ(ReadAll(settings.pollFileName).size(), link.records.size() * 5);
}

TEST_F(StopThreadTest, StopEndsAnUploadWithoutALineForTheFile) {
    TerminalLine line;
    line.terminals['A'].files["BIG.DAT"] = PatternBytes(2'000'000, 1);
    fake_pendra::setResponder([&](const Call& call) { return line.AnswerCall(call); });
    TransferLists lists;
    lists.workingDirectory = folder.Text();
    lists.uploadFiles[0] = "BIG.DAT";
    comm.addresses = "A";
    std::thread worker([&] { link.UploadFileList(operation, lists, false); });
    const auto took = StopWhen(worker, [&] {
        return progress.packets.load() > 50 && progress.fileName.Get() == "BIG.DAT";
    });

    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_TRUE(link.lines.empty());
}

}  // namespace
}  // namespace zelo::link::testing
