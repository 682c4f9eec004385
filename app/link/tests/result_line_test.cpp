#include "link/result_line.hpp"

#include <gtest/gtest.h>

#include "link/result_text.hpp"

namespace zelo::link {
namespace {

TEST(ResultText, KnownCodesAndEverythingElseEmpty) {
    EXPECT_EQ(ResultText(0), "Successfully");
    EXPECT_EQ(ResultText(34), "Invalid number of parater");
    EXPECT_EQ(ResultText(50), "File already exist ,upload file name to be changed");
    EXPECT_EQ(ResultText(130), "Concentrator get unknown string");
    for (int unlisted : {kInformationOnly, 10, 15, 23, 66, 131, 252, -5}) {
        EXPECT_EQ(ResultText(unlisted), "") << unlisted;
    }
}

TEST(FormatResultLine, FieldsSeparatedBySingleBlanksEndingInCrLf) {
    EXPECT_EQ(FormatResultLine({'A', "Cold Start", "", 0}, {9, 5, 7}, "Successfully"),
              "A 09:05:07 Cold Start  Successfully\r\n");
    EXPECT_EQ(FormatResultLine({' ', "Open COM1 at 9600bps", "", -1}, {23, 59, 0}, ""),
              "  23:59:00 Open COM1 at 9600bps  \r\n");
}

}  // namespace
}  // namespace zelo::link
