#include "core/program_model.hpp"

#include <gtest/gtest.h>
#include <zelodll.h>

#include "core/terminal_types.hpp"
#include "test_support.hpp"

namespace zelo::core {
namespace {

using test_support::ReadAll;
using test_support::TemporaryFolder;
using test_support::WriteAll;
using testing::FixedClockPlatform;
using testing::RecordingView;

// The program started in a folder of the test's choosing.
class StartedIn : public FixedClockPlatform {
public:
    explicit StartedIn(std::string directory) : directory_(std::move(directory)) {}
    std::string CurrentDirectory() override { return directory_ + "/"; }

private:
    std::string directory_;
};

// The terminal dialog of a front-end: picks a model and saves, as OK does.
class ChoosingView : public RecordingView {
public:
    void OpenTerminalDialog() override {
        RecordingView::OpenTerminalDialog();
        core->State().comm.terminalType = 6;
        core->SaveConfiguration();
    }
    ProgramModel* core = nullptr;
};

// One run of the program: start, one result line, end.
void RunProgram(Platform& platform, FrontEndDuties& view, const std::string& label) {
    ProgramModel core(platform, view);
    core.StartUp();
    core.Link().ShowResult('A', label, "", 0);
    core.ShutDown();
}

TEST(ProgramModel, FirstStartAsksForTheModelAndGivesItToEveryAddress) {
    TemporaryFolder dir;
    StartedIn platform(dir.Text());
    ChoosingView view;
    ProgramModel core(platform, view);
    view.core = &core;
    core.StartUp();
    EXPECT_EQ(view.terminalDialogs, 1);
    EXPECT_EQ(core.State().lists.workingDirectory, dir.Text());
    // Brisa shares Corvo's pictures: its addresses keep type 5.
    for (const auto& type : core.State().progress.typeFound) EXPECT_EQ(type.load(), 5);
    EXPECT_NE(ReadAll(dir.File("Zelocom.ini")).find("Terminal_type=Brisa"), std::string::npos);
    EXPECT_EQ(HM_get_NAK_delay(), 50);
}

TEST(ProgramModel, OnlyTheStartAsksForAMissingModel) {
    TemporaryFolder dir;
    StartedIn platform(dir.Text());
    RecordingView view;  // its dialog is cancelled: the file still names no model
    ProgramModel core(platform, view);
    core.StartUp();
    EXPECT_EQ(view.terminalDialogs, 1);
    // A later reload may run on the worker thread (after a Stop), where no
    // dialog may open.
    core.ReloadConfiguration();
    EXPECT_EQ(view.terminalDialogs, 1);
    EXPECT_EQ(core.State().comm.terminalType, 0);
}

TEST(ProgramModel, RecordsStartEmptyBeforeAnyLoad) {
    ModelState state;
    const TimeSyncRequest& time = state.timeSync;
    EXPECT_EQ(time.hour + time.minute + time.second + time.year + time.month + time.day, 0);
    EXPECT_FALSE(time.useSetTime);
    for (const auto& text : state.lists.directoryTexts) EXPECT_TRUE(text.empty());
    for (const auto& type : state.progress.typeFound) EXPECT_EQ(type.load(), 0);
    for (const auto& status : state.progress.addressStatus) EXPECT_EQ(status.load(), 0);
    for (const auto& selected : state.progress.addressSelected) EXPECT_EQ(selected.load(), 1);
    EXPECT_TRUE(state.lists.pickedFiles.empty());
    EXPECT_EQ(state.commandLine.tokenCount, 0);
    EXPECT_EQ(state.status.idle.load(), 1);
}

TEST(TerminalPictures, BrisaSharesCorvosRowAndEveryValueDrawsARealRow) {
    EXPECT_EQ(TypeFoundFor(6), 5);
    for (int type = 0; type <= 5; ++type) EXPECT_EQ(TypeFoundFor(type), type);
    EXPECT_EQ(PictureRowOf(3), 3);
    EXPECT_EQ(PictureRowOf(6), 5);
    EXPECT_EQ(PictureRowOf(1000), 5);
    EXPECT_EQ(PictureRowOf(-1), 0);
}

TEST(ProgressState, DisplayedNamesAreBoundedLikeTheDisplaysBuffers) {
    link::ProgressState progress;
    progress.fileName.Set(std::string(300, 'F'));
    progress.saveAsName.Set(std::string(300, 'S'));
    EXPECT_EQ(progress.fileName.Get(), std::string(99, 'F'));
    EXPECT_EQ(progress.saveAsName.Get(), std::string(119, 'S'));
    progress.fileName.Set("A.DAT");
    EXPECT_EQ(progress.fileName.Get(), "A.DAT");
}

TEST(ProgramModel, ErrorLogAppendsAcrossStartsOrStartsEmpty) {
    TemporaryFolder dir;
    StartedIn platform(dir.Text());
    RecordingView view;
    WriteAll(dir.File("Zelocom.ini"), "[Communication]\nTerminal_type=Corvo\nErrorLog=Append\n");
    RunProgram(platform, view, "First");
    RunProgram(platform, view, "Second");
    EXPECT_EQ(ReadAll(dir.File("ERR_LOG.TXT")),
              "A 09:05:07 First  Successfully\r\nA 09:05:07 Second  Successfully\r\n");

    WriteAll(dir.File("Zelocom.ini"), "[Communication]\nTerminal_type=Corvo\nErrorLog=New\n");
    RunProgram(platform, view, "Third");
    RunProgram(platform, view, "Fourth");
    EXPECT_EQ(ReadAll(dir.File("ERR_LOG.TXT")), "A 09:05:07 Fourth  Successfully\r\n");
    EXPECT_EQ(view.terminalDialogs, 0);
}

TEST(ProgramModel, ChangingTheLogModeReopensTheLog) {
    TemporaryFolder dir;
    StartedIn platform(dir.Text());
    RecordingView view;
    WriteAll(dir.File("Zelocom.ini"), "[Communication]\nTerminal_type=Lanta\n");
    ProgramModel core(platform, view);
    core.StartUp();
    core.Link().ShowResult('A', "Unlogged", "", 0);
    core.ChangeErrorLogMode(kErrorLogNew);
    core.Link().ShowResult('A', "Logged", "", 0);
    core.ChangeErrorLogMode(kErrorLogOff);
    core.Link().ShowResult('A', "Unlogged", "", 0);
    EXPECT_EQ(ReadAll(dir.File("ERR_LOG.TXT")), "A 09:05:07 Logged  Successfully\r\n");
}

}  // namespace
}  // namespace zelo::core
