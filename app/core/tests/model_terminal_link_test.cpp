#include "core/model_terminal_link.hpp"

#include <gtest/gtest.h>
#include <zelodll.h>

#include "core/configuration.hpp"
#include "test_support.hpp"

namespace zelo::core {
namespace {

using testing::FixedClockPlatform;
using testing::RecordingView;

TEST(ModelTerminalLink, HooksReachTheAttachedView) {
    FixedClockPlatform platform;
    link::LinkStatus status;
    ErrorLog closedLog;
    RecordingView view;
    ResultLineWriter writer(platform, status, closedLog, view, [] { return 0; });
    ModelTerminalLink link;

    link::CTerminalLink& asOperationsSeeIt = link;
    asOperationsSeeIt.ShowResult('A', "Cold Start", "", 0);  // not attached yet: nothing
    EXPECT_TRUE(view.windowLines.empty());

    link.AttachView(view, writer);
    asOperationsSeeIt.ShowResult('A', "Cold Start", "", 0);
    asOperationsSeeIt.OnSettingsChanged();
    asOperationsSeeIt.RefreshProgress(true);
    asOperationsSeeIt.ShowPollData('B', "0001,12.5");
    EXPECT_EQ(view.windowLines, std::vector<std::string>{"A 09:05:07 Cold Start  Successfully\n"});
    EXPECT_EQ(view.saves, 1);
    EXPECT_EQ(view.refreshes, std::vector<int>{1});
    EXPECT_EQ(view.pollRecords, std::vector<std::string>{"B:0001,12.5"});
}

TEST(PushLibrarySettings, HandsTheLibraryItsTimingPowerSavingAndSaveMode) {
    ModelState state;
    ApplyFamilyPreset(state, 3);
    state.lists.uploadSaveMode = 2;
    PushLibrarySettings(state);
    EXPECT_EQ(HM_get_time_out(), 500);
    EXPECT_EQ(HM_get_ESC_delay(), 30);
    EXPECT_EQ(HM_get_NAK_delay(), 100);
    EXPECT_EQ(HM_get_power_saving_status(), 1);
    EXPECT_EQ(HM_get_upload_file_save_mode(), 2);
}

}  // namespace
}  // namespace zelo::core
