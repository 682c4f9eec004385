#include "core/poll_display.hpp"

#include <gtest/gtest.h>

#include <string>

namespace zelo::core {
namespace {

TEST(PollDisplayLine, EndsEveryShortLineWithOneLineFeed) {
    EXPECT_EQ(PollDisplayLine('A', "12345"), "A 12345\n");
    EXPECT_EQ(PollDisplayLine('A', "12345\r\n"), "A 12345\r\n");
    // A bare CR would leave the window's cursor at the line's start.
    EXPECT_EQ(PollDisplayLine('B', "12345\r"), "B 12345 \n");
    EXPECT_EQ(PollDisplayLine('C', ""), "C \n");
    const std::string longRecord(600, 'x');
    EXPECT_EQ(PollDisplayLine('D', longRecord), "D " + longRecord);
}

}  // namespace
}  // namespace zelo::core
