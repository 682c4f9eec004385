// A serial device that will not open says why, with its path: the reasons
// reach the operator through Pendra_last_error_text.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "file_bytes.hpp"
#include "last_open_error.hpp"
#include "link.hpp"
#include "serial_port.hpp"
#include "temporary_folder.hpp"

namespace pendra {
namespace {

using platform::OpenFailure;

// A pseudo-terminal whose slave side stands in for a serial device, and a
// lock folder of the test's own.
class OpenFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(::grantpt(master_), 0);
        ASSERT_EQ(::unlockpt(master_), 0);
        slave_ = ::ptsname(master_);
        ::setenv("PENDRA_LOCK_DIR", folder_.Text().c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("PENDRA_LOCK_DIR");
        if (master_ >= 0) ::close(master_);
    }
    std::string lockFile() const { return folder_.File("LCK..pts_" + slave_.substr(9)); }

    int master_ = -1;
    std::string slave_;
    test_support::TemporaryFolder folder_{"pendra-open"};
    platform::LineSettings settings_;
};

TEST_F(OpenFailureTest, MissingDeviceAndPlainFileEachSayWhyWithThePath) {
    const auto missing = platform::openSerialPort("/dev/ttyNOSUCH7", settings_);
    EXPECT_FALSE(missing.port);
    EXPECT_EQ(missing.failure, OpenFailure::NoSuchDevice);
    EXPECT_EQ(missing.error, "/dev/ttyNOSUCH7: no such device");

    const std::string plain = folder_.File("plain.txt");
    test_support::WriteAll(plain, "not a line");
    const auto file = platform::openSerialPort(plain, settings_);
    EXPECT_FALSE(file.port);
    EXPECT_EQ(file.failure, OpenFailure::NotSerialDevice);
    EXPECT_EQ(file.error, plain + ": not a serial device");
}

TEST_F(OpenFailureTest, PortHeldByThisProcessIsInUseAndNamesTheHolder) {
    auto first = platform::openSerialPort(slave_, settings_);
    ASSERT_TRUE(first.port) << first.error;
    EXPECT_EQ(first.failure, OpenFailure::None);
    const auto second = platform::openSerialPort(slave_, settings_);
    EXPECT_FALSE(second.port);
    EXPECT_EQ(second.failure, OpenFailure::InUse);
    EXPECT_EQ(second.holderPid, ::getpid()) << second.error;
    EXPECT_NE(
        second.error.find("in use by another program (process " + std::to_string(::getpid()) + ")"),
        std::string::npos)
        << second.error;
    first.port.reset();
    EXPECT_TRUE(platform::openSerialPort(slave_, settings_).port) << "released on destruction";
}

TEST_F(OpenFailureTest, LockFileOfAnotherRunningProcessNamesItsPid) {
    // The parent of the test runs for as long as the test does.
    const long parent = static_cast<long>(::getppid());
    char text[16];
    std::snprintf(text, sizeof text, "%10ld\n", parent);
    test_support::WriteAll(lockFile(), text);
    const auto opened = platform::openSerialPort(slave_, settings_);
    EXPECT_FALSE(opened.port);
    EXPECT_EQ(opened.failure, OpenFailure::InUse);
    EXPECT_EQ(opened.holderPid, parent);
}

TEST_F(OpenFailureTest, FlockOfAnotherProcessIsFoundInTheSystemsLockTable) {
    if (::access("/proc/locks", R_OK) != 0) GTEST_SKIP() << "no /proc/locks here";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        // A program that takes flock() alone, without a lock file.
        const int fd = ::open(slave_.c_str(), O_RDWR | O_NOCTTY);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) std::_Exit(1);
        if (::write(ready[1], "x", 1) != 1) std::_Exit(1);
        ::pause();
        std::_Exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    const auto opened = platform::openSerialPort(slave_, settings_);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_FALSE(opened.port);
    EXPECT_EQ(opened.failure, OpenFailure::InUse);
    EXPECT_EQ(opened.holderPid, static_cast<long>(holder)) << opened.error;
}

// Run as a user without rights to the device: as root the test drops to
// "nobody" in a child, since root opens everything.
TEST_F(OpenFailureTest, PermissionDeniedHintsAtTheDialoutGroup) {
    ASSERT_EQ(::chmod(slave_.c_str(), ::geteuid() == 0 ? 0600 : 0000), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(3);
        const auto opened = platform::openSerialPort(slave_, settings_);
        if (opened.port) std::_Exit(1);
        if (opened.failure != OpenFailure::PermissionDenied) std::_Exit(2);
        if (opened.error.rfind(slave_ + ": permission denied (join the dialout group", 0) != 0) {
            std::_Exit(4);
        }
        std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1 opened, 2 other reason, 3 no user to drop to, 4 text";
}

TEST_F(OpenFailureTest, LinkRemembersTheLastSetUpsReasonUntilOneSucceeds) {
    ::setenv("PENDRA_PORT7", "/dev/ttyNOSUCH7", 1);
    Link link;
    EXPECT_FALSE(link.setup(7, '7', '1', 'N'));
    EXPECT_EQ(lastOpenError().failure, OpenFailure::NoSuchDevice);
    EXPECT_EQ(lastOpenError().text, "/dev/ttyNOSUCH7: no such device");
    EXPECT_FALSE(link.setup(300, '7', '1', 'N'));
    EXPECT_EQ(lastOpenError().failure, OpenFailure::Other);
    EXPECT_NE(lastOpenError().text.find("300"), std::string::npos);
    ::setenv("PENDRA_PORT7", slave_.c_str(), 1);
    EXPECT_TRUE(link.setup(7, '7', '1', 'N'));
    EXPECT_EQ(lastOpenError().failure, OpenFailure::None);
    EXPECT_EQ(lastOpenError().text, "");
    ::unsetenv("PENDRA_PORT7");
}

}  // namespace
}  // namespace pendra
