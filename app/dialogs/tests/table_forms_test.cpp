// What the communication-table and address-change dialogs open with and
// what their OK stores; the edits' range checks.
#include <gtest/gtest.h>

#include "core/configuration.hpp"
#include "dialog_fixture.hpp"
#include "dialogs/address_change.hpp"
#include "dialogs/comm_table_form.hpp"
#include "dialogs/field_checks.hpp"

namespace zelo::dialogs {
namespace {

TEST(CommTableForm, OpensWithTheLineSettingsAndTheTerminalTimeout) {
    core::ModelState state;
    state.comm.baudIndex = 9;
    state.comm.dataBitsIndex = 0;
    state.comm.stopBitsIndex = 1;
    state.comm.parity = 2;
    state.timing.terminalTimeout = 15;
    state.commTable.changePcParameters = true;  // last run's choice does not carry over
    const CommTableForm form = CommTableFormFrom(state);
    EXPECT_EQ(form.baudIndex, 9);
    EXPECT_EQ(form.dataBitsIndex, 0);
    EXPECT_EQ(form.stopBitsIndex, 1);
    EXPECT_EQ(form.parity, 2);
    EXPECT_EQ(form.timeout, 15);
    EXPECT_FALSE(form.changePcParameters);
}

TEST(CommTableForm, OkStoresTheRequestAndLeavesTheLineAlone) {
    core::ModelState state;
    ApplyCommTableForm({8, 0, 1, 1, 1, 42}, state);
    EXPECT_EQ(state.commTable.baudIndex, 8);
    EXPECT_EQ(state.commTable.dataBitsIndex, 0);
    EXPECT_EQ(state.commTable.stopBitsIndex, 1);
    EXPECT_EQ(state.commTable.parity, 1);
    EXPECT_TRUE(state.commTable.changePcParameters);
    EXPECT_EQ(state.timing.terminalTimeout, 42);
    EXPECT_EQ(state.comm.baudIndex, link::kBaudIndex9600);  // only after the command, if asked
}

// The time-out reaches Zelocom.ini by the save that follows OK, so a
// reload (a stopped command, another settings dialog) keeps it.
TEST(CommTableForm, TheSavedTimeoutSurvivesAReload) {
    testing::ConfigurationFile ini;
    core::ModelState state;
    ini.Load(state);
    CommTableForm form = CommTableFormFrom(state);
    form.timeout = 37;
    ApplyCommTableForm(form, state);
    ASSERT_TRUE(ini.Save(state));
    core::ModelState reloaded;
    ini.Load(reloaded);
    EXPECT_EQ(reloaded.timing.terminalTimeout, 37);
}

TEST(AddressChange, ListsTheAddressesInUseAndTheFreeOnes) {
    const AddressChangeLists lists = AddressChangeListsFor("AB");
    EXPECT_EQ(lists.before, "AB");
    EXPECT_EQ(lists.after, "CDEFGHIJKLMNOPQRSTUVWXY0123456");
    EXPECT_EQ(AddressChangeListsFor("3Q").before, "3Q");
    EXPECT_EQ(AddressChangeListsFor("3Q").after, "ABCDEFGHIJKLMNOPRSTUVWXY012456");
}

TEST(AddressChange, NeedsAChoiceInBothLists) {
    const AddressChangeLists lists = AddressChangeListsFor("AB");
    EXPECT_EQ(ChosenAddressChange(lists, 0, 0), (std::array<char, 2>{'A', 'C'}));
    EXPECT_EQ(ChosenAddressChange(lists, 1, 29), (std::array<char, 2>{'B', '6'}));
    EXPECT_FALSE(ChosenAddressChange(lists, -1, 0));
    EXPECT_FALSE(ChosenAddressChange(lists, 0, -1));
    EXPECT_FALSE(ChosenAddressChange(lists, 2, 0));
    EXPECT_FALSE(ChosenAddressChange(lists, 0, 30));
    // Every address in use: nothing to change to.
    const AddressChangeLists full = AddressChangeListsFor("ABCDEFGHIJKLMNOPQRSTUVWXY0123456");
    EXPECT_TRUE(full.after.empty());
    EXPECT_FALSE(ChosenAddressChange(full, 0, 0));
    EXPECT_FALSE(ChosenAddressChange(AddressChangeListsFor(""), 0, 0));
}

TEST(FieldChecks, IntegerTextInRange) {
    EXPECT_EQ(CheckIntegerText("0", 0, 99).value, 0);
    EXPECT_EQ(CheckIntegerText(" 99 ", 0, 99).value, 99);
    EXPECT_EQ(CheckIntegerText("+7", 0, 7).value, 7);
    EXPECT_EQ(CheckIntegerText("7", 0, 7).refusal, "");
    for (const char* bad : {"100", "-1", "", " ", "1a", "a", "1.5", "99999999999", "--1"}) {
        const CheckedInteger checked = CheckIntegerText(bad, 0, 99);
        EXPECT_FALSE(checked.value) << bad;
        EXPECT_EQ(checked.refusal, "Please enter an integer between 0 and 99.") << bad;
    }
    EXPECT_FALSE(CheckIntegerText("0", 1, 120).value);
    EXPECT_FALSE(CheckIntegerText("121", 1, 120).value);
    EXPECT_EQ(CheckIntegerText("120", 1, 120).value, 120);
    // A number already read gets the same words as a typed one.
    EXPECT_EQ(CheckRange(121, 1, 120), CheckIntegerText("121", 1, 120).refusal);
    EXPECT_EQ(CheckRange(1, 1, 120), "");
}

TEST(FieldChecks, LengthPlainAndNamed) {
    EXPECT_EQ(CheckLength(std::string(30, 'x'), 30), "");
    EXPECT_EQ(CheckLength(std::string(31, 'x'), 30), "Please enter no more than 30 characters.");
    EXPECT_EQ(CheckLength(std::string(30, 'x'), 30, "The file name"), "");
    EXPECT_EQ(CheckLength(std::string(31, 'x'), 30, "The file name"),
              "The file name is 31 characters long; at most 30 fit.");
}

}  // namespace
}  // namespace zelo::dialogs
