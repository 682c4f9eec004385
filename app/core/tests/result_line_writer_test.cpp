#include "core/result_line_writer.hpp"

#include <gtest/gtest.h>

#include "test_support.hpp"

namespace zelo::core {
namespace {

using test_support::ReadAll;
using test_support::TemporaryFolder;
using testing::FixedClockPlatform;
using testing::RecordingView;

class ResultLineWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_.now.hour = 9;
        platform_.now.minute = 5;
        platform_.now.second = 7;
        ASSERT_TRUE(log_.OpenNew(logPath_));
    }
    std::string Logged() { return ReadAll(logPath_); }
    void CommandLineWithErrorBox() {
        status_.commandLineMode = 1;
        status_.showErrorBox = 1;
    }

    TemporaryFolder dir_;
    std::string logPath_ = dir_.File("ERR_LOG.TXT");
    FixedClockPlatform platform_;
    link::LinkStatus status_;
    ErrorLog log_;
    RecordingView view_;
    int powerSavingReturn_ = 0;
    bool lineLost_ = false;
    ResultLineWriter writer_{platform_,
                             status_,
                             log_,
                             view_,
                             [this] { return powerSavingReturn_; },
                             [this] { return lineLost_; }};
};

TEST_F(ResultLineWriterTest, LineGoesToWindowWithLfAndToLogWithCrLf) {
    writer_.Write({'A', "Cold Start", "", 0});
    ASSERT_EQ(view_.windowLines.size(), 1u);
    EXPECT_EQ(view_.windowLines[0], "A 09:05:07 Cold Start  Successfully\n");
    EXPECT_EQ(Logged(), "A 09:05:07 Cold Start  Successfully\r\n");
}

TEST_F(ResultLineWriterTest, InformationLineIsNeverLoggedNorBoxed) {
    CommandLineWithErrorBox();
    writer_.Write({' ', "Open COM1 at 9600bps", "", -1});
    EXPECT_EQ(view_.windowLines, std::vector<std::string>{"  09:05:07 Open COM1 at 9600bps  \n"});
    EXPECT_EQ(Logged(), "");
    EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(ResultLineWriterTest, SuccessIsLoggedButNeverBoxed) {
    CommandLineWithErrorBox();
    writer_.Write({'A', "Warm Start", "", 0});
    EXPECT_EQ(Logged(), "A 09:05:07 Warm Start  Successfully\r\n");
    EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(ResultLineWriterTest, FailureIsBoxedOnlyInCommandLineModeWithErrorBoxOn) {
    writer_.Write({'B', "Download", "PROG.EXE", 4});
    status_.commandLineMode = 1;
    writer_.Write({'B', "Download", "PROG.EXE", 4});
    EXPECT_TRUE(view_.boxes.empty());
    status_.showErrorBox = 1;
    writer_.Write({'B', "Download", "PROG.EXE", 4});
    EXPECT_EQ(view_.boxes, std::vector<std::string>{"B Download PROG.EXE Time out"});
    EXPECT_EQ(view_.windowLines.size(), 3u);
}

TEST_F(ResultLineWriterTest, PowerSavingSuffixOnlyWhenOnAndSwitchingBackFailed) {
    CommandLineWithErrorBox();
    powerSavingReturn_ = 4;
    writer_.Write({'A', "Upload", "DATA.TXT", 0});  // power saving off in the settings
    status_.powerSaving = 1;
    writer_.Write({'A', "Upload", "DATA.TXT", 0});
    writer_.Write({'A', "Upload", "DATA.TXT", 5});
    writer_.Write({'A', "Power-Saving off", " ", 9});
    writer_.Write({' ', "Close COM port ", " ", -1});
    powerSavingReturn_ = 0;
    writer_.Write({'A', "Upload", "DATA.TXT", 0});
    EXPECT_EQ(view_.windowLines, (std::vector<std::string>{
                                     "A 09:05:07 Upload DATA.TXT Successfully\n",
                                     "A 09:05:07 Upload DATA.TXT Successfully, but fail to set "
                                     "power saving on\n",
                                     "A 09:05:07 Upload DATA.TXT Get unknown response, but fail "
                                     "to set power saving on\n",
                                     "A 09:05:07 Power-Saving off   Fail to set power saving off\n",
                                     "  09:05:07 Close COM port    \n",
                                     "A 09:05:07 Upload DATA.TXT Successfully\n",
                                 }));
    EXPECT_EQ(view_.boxes,
              (std::vector<std::string>{
                  "A Upload DATA.TXT Get unknown response, but fail to set power saving on",
                  "A Power-Saving off   Fail to set power saving off"}));
}

TEST_F(ResultLineWriterTest, AFailureOnALostLineSaysSoWhateverItsCode) {
    lineLost_ = true;
    writer_.Write({'A', "Upload", "F.BIN", 5});
    writer_.Write({'A', "Poll", "", 4});
    writer_.Write({' ', "Close COM port ", " ", -1});
    writer_.Write({'A', "Warm Start", "", 0});
    EXPECT_EQ(Logged(),
              "A 09:05:07 Upload F.BIN Line lost\r\nA 09:05:07 Poll  Line lost\r\n"
              "A 09:05:07 Warm Start  Successfully\r\n");
}

TEST_F(ResultLineWriterTest, UnlistedCodeHasAnEmptyResultTextAndIsStillLogged) {
    writer_.Write({'C', "Erase File", "X.DAT", 10});
    EXPECT_EQ(Logged(), "C 09:05:07 Erase File X.DAT \r\n");
}

TEST_F(ResultLineWriterTest, ClosedLogReceivesNothing) {
    log_.Close();
    writer_.Write({'A', "Cold Start", "", 1});
    EXPECT_EQ(Logged(), "");
    EXPECT_EQ(view_.windowLines.size(), 1u);
}

}  // namespace
}  // namespace zelo::core
