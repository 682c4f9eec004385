// A stop requested from the window thread while the worker runs a whole-file
// transfer ends it with 10, the terminal told and the local file let go.
#include "transfer_stop_fixture.hpp"

using namespace transfer_test;

TEST_F(TransferStopTest, StopDuringAWholeFileUpload) {
    UploadTerminal terminal;
    terminal.file = patternBytes(100000);
    serveUntilStopped(terminal);
    NameBuffer local(path("up.bin"));
    const int32_t code = runAndStop([&] { return HM_upload(1, 'A', "DATA.TXT", local.text); });
    expectUploadEndedAtTheStop(code, path("up.bin"));
}

TEST_F(TransferStopTest, StopDuringAWholeFileDownload) {
    DownloadTerminal terminal;
    serveUntilStopped(terminal);
    const std::string local = path("down.bin");
    WriteAll(local, patternBytes(100000));

    const int32_t code = runAndStop([&] { return HM_download(1, 'A', local.c_str(), "DATA.TXT"); });
    expectDownloadEndedAtTheStop(code, terminal);
}
