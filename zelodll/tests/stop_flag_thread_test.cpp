// The stop flag, set by the window thread while the worker runs the
// stepwise calls as the program does (open, then packet calls until one
// returns anything but 1): the transfer ends with 10, the terminal is told
// to cancel, nothing after the stop is acknowledged and the file is closed.
#include <thread>

#include "transfer_stop_fixture.hpp"

using namespace transfer_test;

namespace {

// Packet calls until the transfer ends; its last result.
template <typename PacketCall>
int32_t runPackets(PacketCall packetCall) {
    int32_t bytes = 0, packets = 0, code = ZELO_MORE;
    while ((code = packetCall(&bytes, &packets)) == ZELO_MORE) {
    }
    return code;
}

}  // namespace

TEST_F(TransferStopTest, StopDuringAStepwiseUpload) {
    UploadTerminal terminal;
    terminal.file = patternBytes(100000);
    serveUntilStopped(terminal);
    NameBuffer local(path("up.bin"));
    const int32_t code = runAndStop([&] {
        const int32_t opened = HM_upload1(1, 'A', "DATA.TXT", local.text);
        return opened == ZELO_OK ? runPackets(HM_upload2) : opened;
    });
    expectUploadEndedAtTheStop(code, path("up.bin"));
}

TEST_F(TransferStopTest, StopDuringAStepwiseDownload) {
    DownloadTerminal terminal;
    serveUntilStopped(terminal);
    const std::string local = path("down.bin");
    WriteAll(local, patternBytes(100000));

    const int32_t code = runAndStop([&] {
        int32_t size = 0;
        const int32_t opened = HM_download1(1, 'A', local.c_str(), "DATA.TXT", &size);
        return opened == ZELO_OK ? runPackets(HM_download2) : opened;
    });
    expectDownloadEndedAtTheStop(code, terminal);
    // A stop asked for before a transfer starts is not held against it.
    fake_pendra::reset();
    DownloadTerminal next;
    serve(next);
    HM_stop_communication();
    int32_t size = 0;
    ASSERT_EQ(HM_download1(1, 'A', local.c_str(), "DATA.TXT", &size), ZELO_OK);
    EXPECT_EQ(runPackets(HM_download2), ZELO_OK);
    EXPECT_EQ(next.received, patternBytes(100000));
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
