// The host's hold of packets sent ahead: only the window past the next
// serial asked for is held, across the serials' wrap, and a stop forgets.
#include "upload_window.hpp"

#include <gtest/gtest.h>

namespace pendra {
namespace {

wire::Reply packet(const char* bytes) { return wire::Reply{1, bytes, false}; }

TEST(UploadWindow, HoldsOnlyWithinTheWindowPastTheNextSerial) {
    UploadWindow window;
    EXPECT_FALSE(window.hold(5, 5, packet("early")));  // no stream yet
    window.start(3);
    EXPECT_TRUE(window.hold(126, 126, packet("a")));
    EXPECT_TRUE(window.hold(0, 126, packet("c")));     // 126, 127, 0
    EXPECT_FALSE(window.hold(1, 126, packet("d")));    // past the window
    EXPECT_FALSE(window.hold(125, 126, packet("z")));  // handed out already
    EXPECT_EQ(window.take(126)->payload, "a");
    EXPECT_FALSE(window.take(126));  // taken once
    EXPECT_FALSE(window.take(127));
    EXPECT_EQ(window.take(0)->payload, "c");
}

TEST(UploadWindow, StopForgetsWhatWasHeld) {
    UploadWindow window;
    window.start(4);
    window.hold(7, 7, packet("old stream"));
    window.stop();
    window.start(4);
    EXPECT_FALSE(window.take(7));
}

TEST(UploadWindow, SizeCoversTheTurnaroundWithinBounds) {
    EXPECT_EQ(UploadWindow::sizeFor(0, 46), 2);
    EXPECT_EQ(UploadWindow::sizeFor(90, 46), 4);  // two frames cover 90 ms
    EXPECT_EQ(UploadWindow::sizeFor(100000, 46), wire::kMaxUploadWindow);
    EXPECT_EQ(UploadWindow::sizeFor(-5, 0), 2);
}

}  // namespace
}  // namespace pendra
