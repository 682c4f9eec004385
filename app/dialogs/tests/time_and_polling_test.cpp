#include <gtest/gtest.h>

#include <string>

#include "dialogs/auto_time_sync_form.hpp"
#include "dialogs/poll_settings_form.hpp"
#include "dialogs/tests/dialog_fixture.hpp"
#include "dialogs/time_fields.hpp"
#include "dialogs/time_sync_form.hpp"

namespace zelo::dialogs {
namespace {

using testing::DialogFixture;

void ExpectParts(const TimeParts& parts, int hour, int minute, int second) {
    EXPECT_EQ(parts.hour, hour);
    EXPECT_EQ(parts.minute, minute);
    EXPECT_EQ(parts.second, second);
}

TEST(TimeFields, SplitsStoredTimesAndWritesThemBackInFull) {
    ExpectParts(SplitTimeText("7:5"), 7, 5, 0);
    ExpectParts(SplitTimeText("8"), 8, 0, 0);
    ExpectParts(SplitTimeText(""), 0, 0, 0);
    ExpectParts(SplitTimeText("23:59:59"), 23, 59, 59);
    EXPECT_EQ(FormatTimeText({7, 5, 0}), "07:05:00");
    EXPECT_EQ(FormatTimeText({23, 59, 59}), "23:59:59");
}

TEST(TimeFields, HoursMinutesAndSecondsInRange) {
    EXPECT_EQ(CheckTime({0, 0, 0}), "");
    EXPECT_EQ(CheckTime({23, 59, 59}), "");
    EXPECT_EQ(CheckTime({24, 0, 0}), "Please enter an integer between 0 and 23.");
    EXPECT_NE(CheckTime({0, 60, 0}), "");
    EXPECT_NE(CheckTime({0, 0, -1}), "");
}

TEST(TimeFields, DaysInMonthKnowsLeapYears) {
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2025, 4), 30);
    EXPECT_EQ(DaysInMonth(2025, 12), 31);
    EXPECT_EQ(DaysInMonth(2025, 13), 0);
}

TEST(TimeSyncForm, YearsFrom1990To2038AndDatesThatExist) {
    TimeSyncFields fields = OpenTimeSync({2026, 12, 8, 2, 9, 5, 7});
    EXPECT_EQ(fields.useSetTime, 0);
    EXPECT_EQ(CheckTimeSync(fields), "");

    for (int year : {1990, 2038}) {
        fields.year = year;
        EXPECT_EQ(CheckTimeSync(fields), "") << year;
    }
    for (int year : {1989, 2039}) {
        fields.year = year;
        EXPECT_EQ(CheckTimeSync(fields), "Please enter an integer between 1990 and 2038.");
    }
    fields.year = 2025;
    fields.month = 2;
    fields.day = 31;
    EXPECT_NE(CheckTimeSync(fields), "");
    fields.day = 29;
    EXPECT_NE(CheckTimeSync(fields), "");
    fields.year = 2024;
    EXPECT_EQ(CheckTimeSync(fields), "");
    fields.month = 4;
    fields.day = 31;
    EXPECT_NE(CheckTimeSync(fields), "");
    fields.month = 13;
    fields.day = 1;
    EXPECT_EQ(CheckTimeSync(fields), "Please enter an integer between 1 and 12.");
}

TEST(TimeSyncForm, OkCopiesEveryFieldIntoTheRequest) {
    core::TimeSyncRequest request;
    ConfirmTimeSync({2030, 6, 15, 13, 14, 15, 1}, request);
    EXPECT_EQ(request.year, 2030);
    EXPECT_EQ(request.month, 6);
    EXPECT_EQ(request.day, 15);
    EXPECT_EQ(request.hour, 13);
    EXPECT_EQ(request.minute, 14);
    EXPECT_EQ(request.second, 15);
    EXPECT_TRUE(request.useSetTime);
}

TEST(PollSettingsForm, ShowsStoredTimesSplitAndSavesThemInFull) {
    DialogFixture fixture("[POLL]\nStart_Time=7:5\nStop_Time=8\n");
    PollSettingsFields fields = OpenPollSettings(fixture.view);
    ExpectParts(fields.start, 7, 5, 0);
    ExpectParts(fields.stop, 8, 0, 0);
    fields.openMethod = 1;
    fields.pollingMode = 3;
    fields.noCrLf = 0;
    fields.maxError = 100;
    fields.rePollTime = 90;
    ASSERT_EQ(CheckPollSettings(fields), "");
    EXPECT_TRUE(ConfirmPollSettings(fixture.view, fields));
    EXPECT_TRUE(fixture.IniHas("Start_Time=07:05:00"));
    EXPECT_TRUE(fixture.IniHas("Stop_Time=08:00:00"));
    EXPECT_TRUE(fixture.IniHas("Open_Method=New"));
    EXPECT_TRUE(fixture.IniHas("Polling_Period=RePoll"));
    EXPECT_TRUE(fixture.IniHas("Not_Append_CR_LF=No"));
    EXPECT_TRUE(fixture.IniHas("MaxError=100"));
    EXPECT_TRUE(fixture.IniHas("RePoll_Time=90"));
}

TEST(PollSettingsForm, ChecksMaxErrorTimesAndTheFileNameLength) {
    PollSettingsFields fields;
    fields.fileName = "POLL.DAT";
    EXPECT_EQ(CheckPollSettings(fields), "");
    fields.maxError = 101;
    EXPECT_EQ(CheckPollSettings(fields), "Please enter an integer between 0 and 100.");
    fields.maxError = -1;
    EXPECT_NE(CheckPollSettings(fields), "");
    fields.maxError = 0;
    fields.stop.hour = 24;
    EXPECT_NE(CheckPollSettings(fields), "");
    fields.stop.hour = 23;
    fields.fileName = std::string(kMaxPollFileName + 1, 'f');
    EXPECT_NE(CheckPollSettings(fields), "");
    fields.fileName = std::string(kMaxPollFileName, 'f');
    EXPECT_EQ(CheckPollSettings(fields), "");
}

TEST(PollSettingsForm, ABrowsedPathTooLongIsRefusedAndTheNameKept) {
    PollSettingsFields fields;
    fields.fileName = "POLL.DAT";
    EXPECT_NE(BrowsePollFile(fields, std::string(kMaxPollFileName + 1, 'p')), "");
    EXPECT_EQ(fields.fileName, "POLL.DAT");
    EXPECT_EQ(BrowsePollFile(fields, "/data/poll.dat"), "");
    EXPECT_EQ(fields.fileName, "/data/poll.dat");
}

TEST(PollSettingsForm, OpeningWithoutOkLeavesTheStoredTimesAsTheyWere) {
    const std::string ini = "[POLL]\nStart_Time=6:0\nStop_Time=18:30:00\n";
    DialogFixture fixture(ini);
    PollSettingsFields fields = OpenPollSettings(fixture.view);
    fields.start.hour = 9;
    EXPECT_EQ(fixture.IniText(), ini);
}

TEST(AutoTimeSyncForm, OkWritesTheModeAndBothTimes) {
    DialogFixture fixture("[Poll]\nAuto_Time_Sync=Start\nAuto_Time_Sync_Start=5:4:3\n");
    AutoTimeSyncFields fields = OpenAutoTimeSync(fixture.view);
    EXPECT_EQ(fields.syncMode, 1);
    ExpectParts(fields.start, 5, 4, 3);
    ExpectParts(fields.stop, 8, 0, 0);
    fields.syncMode = 2;
    fields.stop = {22, 0, 1};
    ASSERT_EQ(CheckAutoTimeSync(fields), "");
    EXPECT_TRUE(ConfirmAutoTimeSync(fixture.view, fields));
    EXPECT_TRUE(fixture.IniHas("Auto_Time_Sync=Specify"));
    EXPECT_TRUE(fixture.IniHas("Auto_Time_Sync_Start=05:04:03"));
    EXPECT_TRUE(fixture.IniHas("Auto_Time_Sync_Stop=22:00:01"));
    fields.start.minute = 60;
    EXPECT_NE(CheckAutoTimeSync(fields), "");
}

}  // namespace
}  // namespace zelo::dialogs
