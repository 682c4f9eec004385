#include "core/command_table.hpp"

#include <gtest/gtest.h>

namespace zelo::core {
namespace {

TEST(Enabling, EachGroupFollowsItsOwnFlags) {
    struct Case {
        EnablingState state;
        bool terminal, connect, disconnect, restart;
    };
    const Case cases[] = {
        // idle busy connected cmdline abort
        {{1, 0, 0, 0, 0}, true, true, false, false},   {{1, 0, 1, 0, 0}, true, false, true, false},
        {{0, 1, 1, 0, 0}, false, false, false, false},  // an operation runs
        {{1, 1, 0, 0, 0}, false, true, false, false},   // worker before its loop
        {{0, 0, 1, 0, 0}, false, false, false, false},  // marked running, no worker
        {{1, 0, 1, 1, 1}, true, false, true, true},     // a stopped script
        {{1, 0, 0, 1, 0}, true, true, false, false},   {{1, 0, 0, 0, 1}, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.state.idle << c.state.workerBusy << c.state.connected
                                          << c.state.commandLineMode << c.state.abortScript);
        EXPECT_EQ(IsEnabled(MenuGroup::kTerminalOrSettings, c.state), c.terminal);
        EXPECT_EQ(IsEnabled(MenuGroup::kConnect, c.state), c.connect);
        EXPECT_EQ(IsEnabled(MenuGroup::kDisconnect, c.state), c.disconnect);
        EXPECT_EQ(IsEnabled(MenuGroup::kRestartScript, c.state), c.restart);
        EXPECT_TRUE(IsEnabled(MenuGroup::kAlways, c.state));
    }
}

}  // namespace
}  // namespace zelo::core
