#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/command_table.hpp"
#include "dialogs/command_line_form.hpp"
#include "dialogs/parameters_form.hpp"
#include "dialogs/terminal_type_form.hpp"
#include "dialogs/tests/dialog_fixture.hpp"
#include "dialogs/text_input_form.hpp"
#include "escaped_form_cases.hpp"

namespace zelo::dialogs {
namespace {

using Calls = std::vector<std::string>;
using testing::DialogFixture;

TEST(TerminalTypeForm, SameModelWithStandardDelaysStillResetsThePreset) {
    DialogFixture fixture(
        "[Communication]\nTerminal_type=Estra\nTime_out=999\nESC_delay=1\nNAK_delay=2\n"
        "[POWER]\nPower_Saving=NO\n");
    TerminalTypeFields fields = OpenTerminalType(fixture.state);
    EXPECT_EQ(fields.typeIndex, 3);
    EXPECT_EQ(fields.useStandardDelays, 1);
    EXPECT_TRUE(ConfirmTerminalType(fixture.view, fields, fixture.library));
    EXPECT_EQ(fixture.library.calls, Calls{"power_saving 1"});
    EXPECT_TRUE(fixture.IniHas("Time_out=500"));
    EXPECT_TRUE(fixture.IniHas("ESC_delay=30"));
    EXPECT_TRUE(fixture.IniHas("NAK_delay=100"));
    EXPECT_TRUE(fixture.IniHas("Power_Saving=YES"));
    EXPECT_TRUE(fixture.IniHas("Terminal_type=Estra"));
}

TEST(TerminalTypeForm, BrisaTakesFamilyATimingAndCountsAsCorvoPerAddress) {
    DialogFixture fixture("[Communication]\nTerminal_type=Delmar\n");
    EXPECT_TRUE(ConfirmTerminalType(fixture.view, {6, 1}, fixture.library));
    EXPECT_EQ(fixture.state.comm.terminalType, 6);
    EXPECT_EQ(fixture.state.timing.timeOut, 400);
    EXPECT_EQ(fixture.state.timing.escDelay, 10);
    EXPECT_EQ(fixture.state.timing.nakDelay, 30);
    EXPECT_EQ(fixture.state.status.powerSaving.load(), 0);
    for (const auto& type : fixture.state.progress.typeFound) EXPECT_EQ(type.load(), 5);
    EXPECT_TRUE(fixture.IniHas("Terminal_type=Brisa"));
}

TEST(TerminalTypeForm, WithoutStandardDelaysTheTimingStaysAndCancelSavesNothing) {
    const std::string ini = "[Communication]\nTerminal_type=Fenna\nTime_out=777\n";
    DialogFixture fixture(ini);
    OpenTerminalType(fixture.state);  // Cancel: nothing more happens
    EXPECT_EQ(fixture.IniText(), ini);

    EXPECT_TRUE(ConfirmTerminalType(fixture.view, {4, 0}, fixture.library));
    EXPECT_EQ(fixture.state.timing.timeOut, 777);
    EXPECT_TRUE(fixture.IniHas("Terminal_type=Delmar"));
    for (const auto& type : fixture.state.progress.typeFound) EXPECT_EQ(type.load(), 4);
}

TEST(ParametersForm, OkStoresEveryFieldFiltersTheAddressesAndTellsTheLibrary) {
    DialogFixture fixture("[Communication]\nTerminal_type=Fenna\nPort=5\n");
    ParametersFields fields = OpenParameters(fixture.view);
    EXPECT_EQ(fields.portIndex, 4);
    EXPECT_EQ(fields.baudIndex, 6);
    EXPECT_EQ(fields.addresses, "A");

    fields.addresses = "ab,c9";
    fields.portIndex = 1;
    fields.baudIndex = 9;
    fields.parity = 2;
    fields.dataBitsIndex = 0;
    fields.stopBitsIndex = 1;
    fields.timeout = 1234;
    fields.escDelay = 11;
    fields.nakDelay = 33;
    fields.powerSaving = 1;
    ASSERT_EQ(CheckParameters(fields), "");
    const ParametersOutcome outcome = ConfirmParameters(fixture.view, fields, fixture.library);
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.askReconnect);  // the line is not open
    EXPECT_EQ(fixture.state.comm.addresses, "ABC");
    EXPECT_EQ(fixture.library.calls,
              (Calls{"time_out 1234", "NAK 33", "ESC 11", "power_saving 1"}));
    for (const char* line :
         {"Port=2", "BaudRate=57600", "Parity=EVEN", "DataBit=7", "StopBit=2", "Address=ABC",
          "Time_out=1234", "ESC_delay=11", "NAK_delay=33", "Power_Saving=YES"}) {
        EXPECT_TRUE(fixture.IniHas(line)) << line;
    }
}

TEST(ParametersForm, BrisaIsToldPowerSavingOffWhileTheFileSaysYes) {
    DialogFixture fixture("[Communication]\nTerminal_type=Brisa\n");
    ParametersFields fields = OpenParameters(fixture.view);
    fields.powerSaving = 1;
    ConfirmParameters(fixture.view, fields, fixture.library);
    EXPECT_EQ(fixture.library.calls.back(), "power_saving 0");
    EXPECT_TRUE(fixture.IniHas("Power_Saving=YES"));
}

TEST(ParametersForm, OnlyLineSettingsAskToReconnectAndOnlyWhenConnected) {
    DialogFixture fixture;
    fixture.state.status.connected = 1;
    ParametersFields fields = OpenParameters(fixture.view);
    fields.addresses = "BC";
    fields.timeout = 9;
    fields.escDelay = 8;
    fields.nakDelay = 7;
    fields.powerSaving = 1;
    fields.errorLogMode = 1;
    EXPECT_FALSE(ConfirmParameters(fixture.view, fields, fixture.library).askReconnect);

    for (int change = 0; change < 6; ++change) {
        ParametersFields changed = OpenParameters(fixture.view);
        switch (change) {
            case 0: changed.portIndex = 7; break;
            case 1: changed.baudIndex = 3; break;
            case 2: changed.dataBitsIndex = 0; break;
            case 3: changed.parity = 1; break;
            case 4: changed.stopBitsIndex = 1; break;
            case 5: changed.autoBaud = 1; break;
        }
        EXPECT_TRUE(ConfirmParameters(fixture.view, changed, fixture.library).askReconnect)
            << change;
    }
    fixture.state.status.connected = 0;
    ParametersFields changed = OpenParameters(fixture.view);
    changed.portIndex = 0;
    EXPECT_FALSE(ConfirmParameters(fixture.view, changed, fixture.library).askReconnect);
}

TEST(ParametersForm, ChangingTheErrorLogToNewStartsAnEmptyLog) {
    DialogFixture fixture("[Communication]\nTerminal_type=Fenna\nErrorLog=Append\n");
    const std::string log = fixture.folder.File("ERR_LOG.TXT");
    test_support::WriteAll(log, "old line\n");
    ParametersFields fields = OpenParameters(fixture.view);
    EXPECT_EQ(fields.errorLogMode, 1);
    fields.errorLogMode = 2;
    ConfirmParameters(fixture.view, fields, fixture.library);
    EXPECT_EQ(fixture.state.errorLogMode, 2);
    EXPECT_EQ(test_support::ReadAll(log), "");
    EXPECT_TRUE(fixture.IniHas("ErrorLog=New"));
}

TEST(ParametersForm, RefusesMoreThanThirtyNineAddressCharacters) {
    ParametersFields fields;
    fields.addresses = std::string(39, 'A');
    EXPECT_EQ(CheckParameters(fields), "");
    fields.addresses += 'B';
    EXPECT_NE(CheckParameters(fields), "");
    fields.addresses = "A";
    fields.portIndex = 256;
    EXPECT_NE(CheckParameters(fields), "");
}

TEST(ParametersForm, CancelLeavesTheRecordsAsReadFromTheFile) {
    DialogFixture fixture("[Communication]\nTerminal_type=Fenna\nAddress=AB\n");
    fixture.state.comm.addresses = "XYZ-run-only";
    OpenParameters(fixture.view);
    EXPECT_EQ(fixture.state.comm.addresses, "AB");
}

TEST(CommandLineForm, ClearedBoxesAreWrittenAsNo) {
    DialogFixture fixture;
    CommandLineFields fields = OpenCommandLineSettings(fixture.view);
    EXPECT_EQ(fields.autoExit, 1);
    EXPECT_EQ(fields.showErrorBox, 1);
    EXPECT_TRUE(ConfirmCommandLineSettings(fixture.view, {0, 0}));
    EXPECT_TRUE(fixture.IniHas("AUTO_EXIT=No"));
    EXPECT_TRUE(fixture.IniHas("SHOW_ERROR_BOX=No"));
    EXPECT_EQ(fixture.state.status.showErrorBox.load(), 0);
}

TEST(TextInputForm, PromptsOfTheFourCommands) {
    EXPECT_EQ(TextInputPrompt(core::kFileExists), "Input file name to be check");
    EXPECT_EQ(TextInputPrompt(core::kSendData), "Input application data");
    EXPECT_EQ(TextInputPrompt(core::kPassword), "Input New Password");
    EXPECT_EQ(TextInputPrompt(core::kExecAreaSize), "Executing area size (K-Byte)");
    EXPECT_EQ(TextInputPrompt(core::kPoll), "");
}

TEST(TextInputForm, EmptyTextIsTakenAndNinetyNineCharactersAreTheMost) {
    for (int code : {core::kFileExists, core::kSendData, core::kPassword}) {
        EXPECT_EQ(CheckTextArgument(code, ""), "") << code;
        EXPECT_EQ(CheckTextArgument(code, std::string(99, 'a')), "") << code;
        EXPECT_NE(CheckTextArgument(code, std::string(100, 'a')), "") << code;
    }
}

TEST(TextInputForm, SendDataIsRefusedWhenItsEscapedFormWouldNotFit) {
    // Counted as the library writes the form.
    for (const test_support::EscapedFormCase& c : test_support::EscapedFormCases()) {
        EXPECT_EQ(EscapedLength(c.bytes), c.escaped.size()) << ::testing::PrintToString(c.bytes);
    }

    // 63 backslashes take 126 bytes: fits; one more plain byte makes 127.
    std::string text(63, '\\');
    EXPECT_EQ(CheckTextArgument(core::kSendData, text), "");
    EXPECT_EQ(CheckTextArgument(core::kSendData, text + "x"), "");
    EXPECT_NE(CheckTextArgument(core::kSendData, text + "\x1b"), "");
    EXPECT_NE(CheckTextArgument(core::kSendData, std::string(64, '\xe0')), "");
    // The password is sent as it stands: the same text is fine there.
    EXPECT_EQ(CheckTextArgument(core::kPassword, std::string(64, '\xe0')), "");
}

TEST(TextInputForm, TheExecutableAreaSizeIsAWholeNumberFrom0To999) {
    for (const char* ok : {"0", "999", " 64 ", "007"}) {
        EXPECT_EQ(CheckTextArgument(core::kExecAreaSize, ok), "") << ok;
    }
    for (const char* bad : {"", "1000", "-1", "12K", "4 4", "99999999999", "+5"}) {
        EXPECT_NE(CheckTextArgument(core::kExecAreaSize, bad), "") << bad;
    }
}

}  // namespace
}  // namespace zelo::dialogs
