#include "link/result_line.hpp"

#include <gtest/gtest.h>
#include <zelodll.h>

#include "link/result_text.hpp"

namespace zelo::link {
namespace {

// Lines are scanned by operators' scripts for these words; a lookup that
// answers for codes it does not list would put words on lines that had none.
TEST(ResultText, WordsOnlyForTheListedCodes) {
    EXPECT_EQ(ResultText(ZELO_OK), "Successfully");
    EXPECT_EQ(ResultText(ZELO_TIMEOUT), "Time out");
    EXPECT_EQ(ResultText(ZELO_NO_SUCH_FILE), "doesn't exist");
    // Codes no result has, on both sides of zero and past a byte.
    for (int unlisted : {-299, 99, 299, 1000}) EXPECT_EQ(ResultText(unlisted), "") << unlisted;
    EXPECT_EQ(ResultText(kInformationOnly), "");
}

TEST(FormatResultLine, FieldsSeparatedBySingleBlanksEndingInCrLf) {
    EXPECT_EQ(FormatResultLine({'A', "Cold Start", "", 0}, {9, 5, 7}, "Successfully"),
              "A 09:05:07 Cold Start  Successfully\r\n");
    EXPECT_EQ(FormatResultLine({' ', "Open COM1 at 9600bps", "", -1}, {23, 59, 0}, ""),
              "  23:59:00 Open COM1 at 9600bps  \r\n");
}

}  // namespace
}  // namespace zelo::link
