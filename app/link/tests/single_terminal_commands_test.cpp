#include "answering_terminal.hpp"

namespace zelo::link::testing {
namespace {

using Lines = std::vector<std::string>;
using StatusList = std::vector<int>;

// Commands whose result is success, time out or failure: A answers, C is
// silent, B is not selected and hears nothing.
TEST_F(AnsweringTerminalTest, CommandsReportEachSelectedTerminal) {
    link.WarmStart(operation);
    EXPECT_EQ(link.written, (Lines{"A Warm Start  Successfully", "C Warm Start  Time out"}));
    EXPECT_EQ(Statuses(), (StatusList{kStatusDone, 0, kStatusTimeOut}));
    EXPECT_EQ(AddressesOf(Fn::ESC_A), "AC");
    EXPECT_EQ(status.idle, 1);
    EXPECT_EQ(progress.mode, kProgressPerAddress);

    link.written.clear();
    fake_pendra::reset();
    SetResponder();
    link.SetBarcodeTable(operation, "1100");
    link.SetDeviceTable(operation, "ABC");
    link.SetUpsOff(operation);
    link.SetUploadMode(operation);
    link.ExecuteKermit(operation);
    link.SendData(operation, "HELLO");
    EXPECT_EQ(link.written, (Lines{
                                "A Set Bar symbology 1100 Successfully",
                                "C Set Bar symbology 1100 Time out",
                                "A Set device table ABC Successfully",
                                "C Set device table ABC Time out",
                                "A Set UPS off  Successfully",
                                "C Set UPS off  Time out",
                                "A Upload mode   Successfully",
                                "C Upload mode   Time out",
                                "A Execute kermit  Successfully",
                                "C Execute kermit  Time out",
                                "A Send Data HELLO Successfully",
                                "C Send Data HELLO Time out",
                            }));
    std::vector<std::string> requests;
    for (const Call& c : fake_pendra::callsOf(Fn::DBG)) {
        if (c.address == 'A') requests.push_back(c.request);
        EXPECT_NE(c.address, 'B');
    }
    EXPECT_EQ(requests, (std::vector<std::string>{"B1100", "VABC", "F", "Q", "k"}));
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_0).front().request, "HELLO");
}

TEST_F(AnsweringTerminalTest, ChoiceLabelsFollowTheValueOrItsDigit) {
    link.SetBeeperVolume(operation, 5);
    link.SetKeypad(operation, '2');
    link.SetKeypad(operation, 'A');
    link.RestoreSystemFont(operation, 1);
    link.RestoreSystemFont(operation, '2');
    EXPECT_EQ(link.written, (Lines{
                                "A Set Beeper volume medium!    Successfully",
                                "C Set Beeper volume medium!    Time out",
                                "A Set keypad partial lock   Successfully",
                                "C Set keypad partial lock   Time out",
                                "A Restore system keymap   Successfully",
                                "C Restore system keymap   Time out",
                                "A Restore 16x8 system font!   Successfully",
                                "C Restore 16x8 system font!   Time out",
                                "A Restore 32x16 system font!   Successfully",
                                "C Restore 32x16 system font!   Time out",
                            }));
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_N).front().arg1, '5');
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_K).front().arg1, '2');
    std::vector<std::string> fonts;
    for (const Call& c : fake_pendra::callsOf(Fn::DBG)) {
        if (c.address == 'A') fonts.push_back(c.request);
    }
    EXPECT_EQ(fonts, (std::vector<std::string>{"f1", "f2"}));
}

TEST_F(AnsweringTerminalTest, PasswordReachesTheTerminalsButNoLine) {
    link.SetPassword(operation, "S3CRET");
    EXPECT_EQ(link.written, (Lines{"A Set password   Successfully", "C Set password   Time out"}));
    for (const std::string& line : link.written) EXPECT_EQ(line.find("S3CRET"), std::string::npos);
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).front().request, "PS3CRET");
}

TEST_F(AnsweringTerminalTest, ColdStartClosesTheLineAfterTheLastTerminal) {
    link.ColdStart(operation);
    EXPECT_EQ(link.written, (Lines{"A Cold Start  Successfully", "C Cold Start  Time out",
                                   "  Close COM port    "}));
    EXPECT_EQ(status.connected, 0);
    EXPECT_EQ(status.idle, 1);
    EXPECT_EQ(fake_pendra::count(Fn::Destroy), 1);
}

TEST_F(AnsweringTerminalTest, LantaTableIsSavedAfterTheLoop) {
    link.SendLantaTable(operation, "K40TABLE");
    EXPECT_EQ(link.written, (Lines{"A Set Lanta configuration table K40TABLE Successfully",
                                   "C Set Lanta configuration table K40TABLE Successfully"}));
    EXPECT_EQ(link.settingsSaved, 1);
    EXPECT_TRUE(fake_pendra::calls().empty());  // the library sends nothing for it
}

TEST_F(AnsweringTerminalTest, ExecAreaSizeShowsTheNumberItSends) {
    link.SetExecAreaSize(operation, " 64kb");
    link.SetExecAreaSize(operation, "99999999999999999999");
    ASSERT_GE(link.written.size(), 3u);
    EXPECT_EQ(link.written[0], "A Exec area is  64 Successfully");
    // A size far out of range is refused by the library without a request.
    EXPECT_EQ(link.written[2], "A Exec area is  99999 Get unknown response");
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).front().request, "F064");
}

TEST_F(AnsweringTerminalTest, StopEndsTheLoopWithoutALineForTheTerminalInHand) {
    answering = {'A', 'C'};
    link.onResult = [&](std::size_t) {
        status.idle = 1;  // as the Stop command does, after setting the flag
        link.RequestStop();
    };
    link.WarmStart(operation);
    EXPECT_EQ(link.written, (Lines{"A Warm Start  Successfully"}));
    EXPECT_EQ(Statuses(), (StatusList{kStatusDone, 0, kStatusWorking}));
    EXPECT_EQ(AddressesOf(Fn::ESC_A), "AC");
}

TEST_F(AnsweringTerminalTest, PowerSavingCommandsMarkFailuresNotDone) {
    link.SetPowerSaving(operation, false);
    ASSERT_EQ(link.written.size(), 2u);
    EXPECT_EQ(link.written[0], "A Power-Saving off   Successfully");
    EXPECT_EQ(Statuses()[0], kStatusDone);
    EXPECT_EQ(Statuses()[2], kStatusNotDone);
    EXPECT_EQ(status.idle, 1);
}

TEST_F(AnsweringTerminalTest, TransferPowerSwitchHandsTheLibraryItsFlagAndReportsTheTerminal) {
    EXPECT_EQ(link.SwitchPowerSaving(false, 0, comm, status, 0), 0);
    EXPECT_EQ(HM_get_power_saving_status(), 0);
    EXPECT_EQ(link.SwitchPowerSaving(true, 1, comm, status, 2), ZELO_TIMEOUT);
    EXPECT_EQ(HM_get_power_saving_status(), 1);
    HM_set_power_saving_status(0);
    EXPECT_EQ(link.written,
              (Lines{"A Power-Saving off   Successfully", "C Power-Saving on   Time out"}));
    EXPECT_EQ(AddressesOf(Fn::DBG).substr(0, 1), "A");
}

}  // namespace
}  // namespace zelo::link::testing
