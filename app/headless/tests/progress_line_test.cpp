#include "headless/progress_line.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace zelo::headless {
namespace {

using namespace std::chrono_literals;

TEST(ProgressFormat, KnownTotalShowsPercentRateAndTimeLeft) {
    EXPECT_EQ(FormatProgress({'A', "BIG.DAT", 81920, 204800, 80}),
              "A BIG.DAT  81920/204800 bytes  40%  1024 B/s  2:00 left");
    // A 200 KB file at 9600 baud: over an hour is shown in hours.
    EXPECT_EQ(FormatProgress({'B', "F", 1000, 5'000'000, 1}),
              "B F  1000/5000000 bytes  0%  1000 B/s  1:23:19 left");
    EXPECT_EQ(FormatProgress({'A', "F", 40960, 81920, 2}),
              "A F  40960/81920 bytes  50%  20.0 KB/s  0:02 left");
}

TEST(ProgressFormat, UnknownTotalAndTooEarlyToMeasure) {
    EXPECT_EQ(FormatProgress({'A', "LOG.TXT", 5000, 0, 10}), "A LOG.TXT  5000 bytes  500 B/s");
    EXPECT_EQ(FormatProgress({'A', "F", 100, 1000, 0.1}), "A F  100/1000 bytes  10%");
    EXPECT_EQ(FormatProgress({'A', "F", 0, 0, 0}), "A F  0 bytes");
    // More than the stated total (a file that grew) never shows over 100 %.
    EXPECT_EQ(FormatProgress({'A', "F", 1200, 1000, 0.1}), "A F  1200/1000 bytes  100%");
}

TEST(ProgressFormat, FinishedLineHasSizeAndTime) {
    EXPECT_EQ(FormatFinished({'A', "BIG.DAT", 204800, 204800, 213}),
              "A BIG.DAT  204800 bytes in 3:33 (962 B/s)");
    EXPECT_EQ(FormatFinished({'A', "E", 0, 0, 0}), "A E  0 bytes in 0:00");
}

class ProgressLineTest : public ::testing::Test {
protected:
    std::ostringstream out_;
    ProgressLine::Clock::time_point now_{};
    ProgressLine line_{out_, [this] { return now_; }};
};

TEST_F(ProgressLineTest, RedrawsInPlaceAtMostFourTimesASecondAndClosesWithItsSize) {
    line_.Update('A', "F", 100, 1000);
    now_ += 100ms;
    line_.Update('A', "F", 200, 1000);  // too soon: not drawn
    now_ += 200ms;
    line_.Update('A', "F", 300, 1000);
    line_.Finish();
    line_.Finish();  // nothing shown any more: nothing written
    EXPECT_EQ(out_.str(),
              "\rA F  100/1000 bytes  10%\rA F  300/1000 bytes  30%\rA F  300 bytes in 0:00  \n");
}

TEST_F(ProgressLineTest, ShorterDrawingCoversTheLongerOneAndANewFileStartsAfresh) {
    line_.Update('A', "LONGNAME.DAT", 100, 1000);
    line_.Update('B', "S", 5, 0);  // another terminal: drawn at once
    const std::string text = out_.str();
    const std::string first = "\rA LONGNAME.DAT  100/1000 bytes  10%";
    ASSERT_EQ(text.substr(0, first.size()), first);
    EXPECT_EQ(text.substr(first.size()),
              "\rB S  5 bytes" + std::string(first.size() - 12 - 1, ' '));
}

TEST_F(ProgressLineTest, BytesGoingBackStartANewFileWithItsOwnClock) {
    line_.Update('A', "F", 900, 1000);
    now_ += 10s;
    line_.Update('A', "F", 50, 1000);  // the same name sent again
    now_ += 1s;
    line_.Finish();
    EXPECT_NE(out_.str().find("A F  50 bytes in 0:01"), std::string::npos) << out_.str();
}

}  // namespace
}  // namespace zelo::headless
