// Lock files never outlive the process that took them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "link.hpp"
#include "temporary_folder.hpp"

namespace pendra {
namespace {

TEST(LockRelease, LockFileOfAPortLeftOpenIsRemovedAtExit) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    const test_support::TemporaryFolder folder("pendra-exit");
    const std::string lockFile = folder.File("LCK..pts_" + slave.substr(9));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("PENDRA_LOCK_DIR", folder.Text().c_str(), 1);
        ::setenv("PENDRA_PORT3", slave.c_str(), 1);
        auto* link = new Link;  // never destroyed: the process just ends
        if (!link->setup(3, '7', '1', 'N')) std::_Exit(1);
        if (::access(lockFile.c_str(), F_OK) != 0) std::_Exit(2);
        std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(::access(lockFile.c_str(), F_OK), 0);
    ::close(master);
}

}  // namespace
}  // namespace pendra
