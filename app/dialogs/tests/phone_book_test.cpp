// The phone book: its lines, the list the dialogs keep, what OK stores and
// the number a dial line gives.
#include <gtest/gtest.h>

#include "core/configuration.hpp"
#include "dialog_fixture.hpp"
#include "dialogs/modem_form.hpp"
#include "dialogs/phone_lines.hpp"
#include "dialogs/phone_list.hpp"

namespace zelo::dialogs {
namespace {

std::string Pad(std::string text) {
    text.resize(30, ' ');
    return text;
}

TEST(PhoneLines, OnlyEntriesWithANumberInEntryOrder) {
    core::PhoneBook book;
    book.entries[2] = {"222", "Zed"};
    book.entries[6] = {"777", "Alpha"};
    book.entries[8] = {"", "No number"};
    const std::vector<std::string> lines = BuildPhoneLines(book);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], Pad("Zed") + Pad("222"));
    EXPECT_EQ(lines[1], Pad("Alpha") + Pad("777"));
}

TEST(PhoneLines, LongNamesAndNumbersAreCutToThirty) {
    core::PhoneBook book;
    book.entries[0] = {std::string(40, '9'), std::string(35, 'n')};
    EXPECT_EQ(BuildPhoneLines(book).at(0), std::string(30, 'n') + std::string(30, '9'));
}

TEST(PhoneLines, SplitAndDialNumber) {
    const std::string typed = TypedPhoneLine("Office", "123");
    EXPECT_EQ(typed, Pad("Office") + "123");
    EXPECT_EQ(SplitPhoneLine(typed).name, Pad("Office"));
    EXPECT_EQ(SplitPhoneLine(typed).number, "123");
    EXPECT_EQ(DialNumberOfLine(typed), "123");
    EXPECT_EQ(DialNumberOfLine(Pad("Office") + Pad("123")), Pad("123"));  // padding kept
    EXPECT_FALSE(DialNumberOfLine(Pad("Office")));
    EXPECT_FALSE(DialNumberOfLine(""));
    // Never more than the 30 characters of the dial number.
    EXPECT_EQ(DialNumberOfLine(Pad("x") + std::string(45, '5')), std::string(30, '5'));
}

TEST(PhoneList, SortedWithoutRegardToCaseFirstSelected) {
    PhoneList list({TypedPhoneLine("delta", "4"), TypedPhoneLine("Alpha", "1"),
                    TypedPhoneLine("charlie", "3"), TypedPhoneLine("Bravo", "2")});
    ASSERT_EQ(list.Lines().size(), 4u);
    EXPECT_EQ(SplitPhoneLine(list.Lines()[0]).number, "1");
    EXPECT_EQ(SplitPhoneLine(list.Lines()[1]).number, "2");
    EXPECT_EQ(SplitPhoneLine(list.Lines()[2]).number, "3");
    EXPECT_EQ(SplitPhoneLine(list.Lines()[3]).number, "4");
    EXPECT_EQ(list.Selection(), 0u);
    EXPECT_FALSE(PhoneList({}).Selection());
}

TEST(PhoneList, DeletingSelectsTheLineBefore) {
    PhoneList list({TypedPhoneLine("A", "1"), TypedPhoneLine("B", "2"), TypedPhoneLine("C", "3")});
    list.Select(2);
    list.RemoveSelected();
    EXPECT_EQ(list.Selection(), 1u);
    EXPECT_EQ(list.Lines().size(), 2u);
    list.Select(0);
    list.RemoveSelected();
    EXPECT_FALSE(list.Selection());
    list.RemoveSelected();  // nothing selected: nothing removed
    EXPECT_EQ(list.Lines().size(), 1u);
    list.Select(5);
    EXPECT_FALSE(list.Selection());
}

TEST(PhoneList, AddAndEdit) {
    PhoneList list({});
    EXPECT_EQ(AddPhoneEntry(list, "Office", ""), kAddEmptyMessage);
    EXPECT_EQ(AddPhoneEntry(list, "", "123"), kAddEmptyMessage);
    EXPECT_EQ(EditPhoneEntry(list, "", "123"), kEditEmptyMessage);
    EXPECT_TRUE(list.Lines().empty());
    EXPECT_EQ(AddPhoneEntry(list, std::string(31, 'n'), "1"),
              "Please enter no more than 30 characters.");
    EXPECT_EQ(AddPhoneEntry(list, "n", std::string(31, '1')),
              "Please enter no more than 30 characters.");

    EXPECT_EQ(AddPhoneEntry(list, "Office", "123"), "");
    EXPECT_EQ(AddPhoneEntry(list, "Home", "456"), "");
    EXPECT_EQ(list.Selection(), 0u);  // Home sorts first and is selected
    EXPECT_EQ(EditPhoneEntry(list, "Zoo", "789"), "");
    ASSERT_EQ(list.Lines().size(), 2u);
    EXPECT_EQ(list.Lines()[0], TypedPhoneLine("Office", "123"));
    EXPECT_EQ(list.Lines()[1], TypedPhoneLine("Zoo", "789"));
    EXPECT_EQ(list.Selection(), 1u);
    // With nothing selected, edit adds.
    list.Select(std::nullopt);
    EXPECT_EQ(EditPhoneEntry(list, "Bank", "000"), "");
    EXPECT_EQ(list.Lines().size(), 3u);
}

TEST(PhoneList, AHundredAndFirstLineIsRefused) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i) lines.push_back(TypedPhoneLine("N" + std::to_string(i), "1"));
    lines.push_back(TypedPhoneLine("extra", "1"));
    PhoneList list(lines);
    EXPECT_EQ(list.Lines().size(), 100u);  // the opening list holds the book's size too
    EXPECT_EQ(AddPhoneEntry(list, "one more", "5"), kBookFullMessage);
    list.Select(std::nullopt);
    EXPECT_EQ(EditPhoneEntry(list, "one more", "5"), kBookFullMessage);
    EXPECT_EQ(list.Lines().size(), 100u);
    list.Select(3);  // replacing a line still works in a full book
    EXPECT_EQ(EditPhoneEntry(list, "one more", "5"), "");
    EXPECT_EQ(list.Lines().size(), 100u);
}

TEST(ModemForm, OpensFromTheRecords) {
    core::ModelState state;
    state.status.useModem = 1;
    state.comm.modemInitCommand = "ATZ";
    state.comm.dialWaitTime = 45;
    state.comm.dialType = 1;
    state.phoneBook.entries[4] = {"555", "Depot"};
    const ModemForm form = ModemFormFrom(state);
    EXPECT_EQ(form.useModem, 1);
    EXPECT_EQ(form.initCommand, "ATZ");
    EXPECT_EQ(form.dialWaitTime, 45);
    EXPECT_EQ(form.dialType, 1);
    EXPECT_EQ(form.phoneLines, std::vector<std::string>{Pad("Depot") + Pad("555")});
}

TEST(ModemForm, OkRenumbersTheEntriesInTheListsOrder) {
    core::ModelState state;
    state.phoneBook.entries[2] = {"333", "Third"};
    state.phoneBook.entries[6] = {"777", "Seventh"};
    ModemForm form = ModemFormFrom(state);
    form.useModem = 1;
    form.initCommand = std::string(120, 'A');
    ApplyModemForm(form, state);
    EXPECT_EQ(state.status.useModem.load(), 1);
    EXPECT_EQ(state.comm.modemInitCommand.size(), 99u);
    EXPECT_EQ(state.phoneBook.entries[0].name, Pad("Third"));
    EXPECT_EQ(state.phoneBook.entries[0].number, Pad("333"));
    EXPECT_EQ(state.phoneBook.entries[1].name, Pad("Seventh"));
    for (std::size_t i = 2; i < state.phoneBook.entries.size(); ++i) {
        EXPECT_TRUE(state.phoneBook.entries[i].number.empty()) << i;
        EXPECT_TRUE(state.phoneBook.entries[i].name.empty()) << i;
    }
}

// A phone book entry survives a save and a load whole: the loader keeps the
// 30 characters the dialogs allow.
TEST(ModemForm, ThirtyCharacterNumbersSurviveTheConfigurationFile) {
    testing::ConfigurationFile ini;
    core::ModelState state;
    ini.Load(state);
    ModemForm form = ModemFormFrom(state);
    PhoneList list(form.phoneLines);
    const std::string number = "0123456789012345678901234";  // 25 characters
    ASSERT_EQ(AddPhoneEntry(list, "Office", number), "");
    ASSERT_EQ(AddPhoneEntry(list, "Long", std::string(30, '7')), "");
    form.phoneLines = list.Lines();
    ApplyModemForm(form, state);
    ASSERT_TRUE(ini.Save(state));

    core::ModelState reloaded;
    ini.Load(reloaded);
    EXPECT_EQ(reloaded.phoneBook.entries[0].number, std::string(30, '7'));
    EXPECT_EQ(reloaded.phoneBook.entries[1].number, number);
    EXPECT_EQ(DialNumberOfLine(BuildPhoneLines(reloaded.phoneBook).at(1)).value().substr(0, 25),
              number);
}

}  // namespace
}  // namespace zelo::dialogs
