#include "link/terminal_link.hpp"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zelo::link
