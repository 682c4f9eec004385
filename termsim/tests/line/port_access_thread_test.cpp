// Holding the port alone, and failing cleanly when it cannot be had.
#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "line_fixture.hpp"

namespace termsim::testing {
namespace {

class PortAccess : public LineFixture {};

TEST_F(PortAccess, SecondOpenOfAPortInUseFailsUntilTheFirstIsDestroyed) {
    startLine();
    openMainLink();
    const PendraHandle second = Pendra_Create();
    EXPECT_EQ(Pendra_SetupEx(second, kPort, 'A', '1', 'N'), 0);
    EXPECT_EQ(Pendra_Connect(second), 0);

    // Other programs see the lock file, with our process in it.
    std::ifstream lockFile(ptyLine_.lockFilePath());
    long holder = 0;
    lockFile >> holder;
    EXPECT_EQ(holder, static_cast<long>(::getpid()));

    closeLink();
    EXPECT_EQ(Pendra_SetupEx(second, kPort, 'A', '1', 'N'), 1);
    char buf[128] = {};
    uint8_t n = 128;
    EXPECT_EQ(Pendra_ESC_R(second, 'A', buf, &n), 1);
    Pendra_Destroy(second);
}

TEST_F(PortAccess, StaleLockOfADeadProcessIsTakenOver) {
    startLine();
    std::ofstream(ptyLine_.lockFilePath()) << "    999999\n";
    openMainLink();
}

TEST_F(PortAccess, MissingDeviceOrBadSettingsFailCleanly) {
    ::setenv("PENDRA_PORT9", "/dev/no-such-serial-device", 1);
    const PendraHandle h = Pendra_Create();
    EXPECT_EQ(Pendra_SetupEx(h, 9, 'A', '1', 'N'), 0);
    EXPECT_EQ(Pendra_Connect(h), 0);
    EXPECT_EQ(Pendra_ESC_A(h, 'A'), 254);
    ::setenv("PENDRA_PORT9", "/dev/null", 1);  // not a serial device
    EXPECT_EQ(Pendra_SetupEx(h, 9, 'A', '1', 'N'), 0);
    EXPECT_EQ(Pendra_SetupEx(h, 0, 'A', '1', 'N'), 0);
    EXPECT_EQ(Pendra_SetupEx(h, 9, 'Z', '1', 'N'), 0);
    Pendra_Destroy(h);
    Pendra_Destroy(h);  // a second destroy of the same handle does nothing
}

TEST_F(PortAccess, DeviceThatGoesAwayEndsTheCallWithAFailure) {
    startLine();
    openMainLink();
    // Pull the plug: the line server and the pseudo-terminal go away.
    ptyLine_.unplug();
    char buf[128] = {};
    uint8_t n = 128;
    EXPECT_EQ(Pendra_ESC_R(link_, 'A', buf, &n), 254);
    EXPECT_EQ(Pendra_Connect(link_), 0);
    EXPECT_EQ(Pendra_ESC_R(link_, 'A', buf, &n), 254);

    // Once a device is back the same handle opens it again.
    startLine();
    EXPECT_EQ(Pendra_SetupEx(link_, kPort, 'A', '1', 'N'), 1);
    EXPECT_EQ(Pendra_ESC_R(link_, 'A', buf, &n), 1);
}

}  // namespace
}  // namespace termsim::testing
