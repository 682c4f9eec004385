// A stop requested from the window thread while the worker runs a whole-file
// transfer ends it with 10, the terminal told and the local file closed.
#include <thread>

#include "transfer_stop_fixture.hpp"

using namespace transfer_test;

TEST_F(TransferStopTest, StopDuringAWholeFileUpload) {
    UploadTerminal terminal;
    terminal.file = patternBytes(100000);
    serveUntilStopped(terminal);
    char local[ZELO_LOCAL_NAME_SIZE] = {};
    const std::string name = path("up.bin");
    name.copy(local, name.size());

    int32_t code = -1;
    std::thread worker([&] { code = HM_upload(1, 'A', "DATA.TXT", local); });
    stopAfterThreePackets();
    worker.join();

    expectUploadEndedAtTheStop(code, terminal, name);
}

TEST_F(TransferStopTest, StopDuringAWholeFileDownload) {
    DownloadTerminal terminal;
    serveUntilStopped(terminal);
    const std::string local = path("down.bin");
    writeFile(local, patternBytes(100000));

    int32_t code = -1;
    std::thread worker([&] { code = HM_download(1, 'A', local.c_str(), "DATA.TXT"); });
    stopAfterThreePackets();
    worker.join();

    expectDownloadEndedAtTheStop(code, terminal);
}
