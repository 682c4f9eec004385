#include "link/terminal_link.hpp"

#include <gtest/gtest.h>

#include <thread>

#include "link/progress_state.hpp"

namespace zelo::link {
namespace {

TEST(CTerminalLink, StopFlagStartsClearAndFollowsRequests) {
    CTerminalLink link;
    EXPECT_EQ(link.IsStopRequested(), 0);
    link.RequestStop(1);
    EXPECT_EQ(link.IsStopRequested(), 1);
    link.RequestStop(0);
    EXPECT_EQ(link.IsStopRequested(), 0);
}

TEST(CTerminalLink, WaitUntilIdleReturnsOnceAnotherThreadSetsIdle) {
    LinkStatus status;
    CTerminalLink::WaitUntilIdle(status);  // idle from the start
    status.idle = 0;
    std::thread stopper([&status] { status.idle = 1; });
    CTerminalLink::WaitUntilIdle(status);
    stopper.join();
    EXPECT_EQ(status.idle.load(), 1);
}

TEST(Records, StartAtTheProgramsInMemoryDefaults) {
    const LinkStatus status;
    EXPECT_EQ(status.idle.load(), 1);
    EXPECT_EQ(status.connected + status.powerSaving + status.autoBaud + status.pollFileOpen +
                  status.showErrorBox + status.useModem + status.commandLineMode + status.closing,
              0);
    const ProgressState progress;
    for (std::size_t i = 0; i < kAddressSlots; ++i) {
        EXPECT_EQ(progress.addressStatus[i].load(), 0);
        EXPECT_EQ(progress.addressSelected[i].load(), 1);
        EXPECT_EQ(progress.typeFound[i].load(), 0);
    }
    EXPECT_EQ(progress.fileName.Get(), "");
    const CommSettings comm;
    EXPECT_EQ(comm.port, 1);
    EXPECT_EQ(kBaudTexts[static_cast<std::size_t>(comm.baudIndex)], "9600");
    EXPECT_EQ(comm.modemInitCommand, "ATS0=1");
}

}  // namespace
}  // namespace zelo::link
