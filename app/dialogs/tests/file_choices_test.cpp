#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/multi_file_choice.hpp"
#include "dialogs/pc_file_choice.hpp"
#include "dialogs/program_choice.hpp"
#include "dialogs/sorted_names.hpp"
#include "dialogs/tests/dialog_fixture.hpp"

namespace zelo::dialogs {
namespace {

using Names = std::vector<std::string>;

struct Listings {
    link::DirectoryTexts texts{};
    core::PickRequest Request(const std::string& addresses, bool program = false) const {
        core::PickRequest request;
        request.addresses = addresses;
        request.programChoice = program;
        request.listings = &texts;
        return request;
    }
};

TEST(SortedNames, ListingsSplitAtCommasWithoutEmptyPieces) {
    EXPECT_EQ(SplitListing("A.EXE,B.DAT,,c.exe"), (Names{"A.EXE", "B.DAT", "c.exe"}));
    EXPECT_EQ(SplitListing(",,"), Names{});
    EXPECT_EQ(SplitListing(""), Names{});
    EXPECT_EQ(SplitListing("ONE"), Names{"ONE"});
}

TEST(SortedNames, AlphabeticalWithoutRegardToCase) {
    Names list;
    for (const char* name : {"b.dat", "C.EXE", "a.txt", "B.DAT", "A.TXT"}) InsertSorted(list, name);
    EXPECT_EQ(list, (Names{"A.TXT", "a.txt", "B.DAT", "b.dat", "C.EXE"}));
    EXPECT_EQ(SortedAddresses("CA3B"), (std::vector<char>{'3', 'A', 'B', 'C'}));
}

TEST(ProgramChoice, OffersOnlyNamesEndingInExeLongerThanTheExtension) {
    EXPECT_TRUE(IsProgramName("A.EXE"));
    EXPECT_TRUE(IsProgramName("c.exe"));
    EXPECT_TRUE(IsProgramName("x.ExE"));
    EXPECT_FALSE(IsProgramName(".EXE"));
    EXPECT_FALSE(IsProgramName("AEXE"));
    EXPECT_FALSE(IsProgramName("A.EXE.BAK"));
    EXPECT_FALSE(IsProgramName("A_EXE"));

    Listings listings;
    listings.texts[0] = "A.EXE,B.DAT,,c.exe,.EXE";
    ProgramChoice choice(listings.Request("A", true));
    EXPECT_EQ(choice.Programs(), (Names{"A.EXE", "c.exe"}));
}

TEST(MultiFileChoice, OffersEveryNameOfTheListingSorted) {
    Listings listings;
    listings.texts[0] = "A.EXE,B.DAT,,c.exe";
    MultiFileChoice choice(listings.Request("A"));
    EXPECT_EQ(choice.Available(), (Names{"A.EXE", "B.DAT", "c.exe"}));
    EXPECT_TRUE(choice.Chosen().empty());
}

TEST(MultiFileChoice, StartsOnTheFirstAddressInSortedOrderWithItsOwnListing) {
    Listings listings;
    listings.texts[0] = "FROM_C.DAT";  // position 0 is address C
    listings.texts[1] = "FROM_2.DAT";  // position 1 is address 2
    MultiFileChoice choice(listings.Request("C2"));
    EXPECT_EQ(choice.Listing().CurrentAddress(), '2');
    EXPECT_EQ(choice.Available(), Names{"FROM_2.DAT"});
}

TEST(MultiFileChoice, AnotherAddressDropsTheFilesChosenSoFar) {
    Listings listings;
    listings.texts[0] = "A1.DAT,A2.DAT";
    listings.texts[1] = "B1.DAT";
    MultiFileChoice choice(listings.Request("AB"));
    ASSERT_EQ(choice.Choose(1), "");
    EXPECT_EQ(choice.Chosen(), Names{"A2.DAT"});
    EXPECT_EQ(choice.Available(), Names{"A1.DAT"});

    choice.SelectAddress('B');
    EXPECT_EQ(choice.Listing().CurrentAddress(), 'B');
    EXPECT_TRUE(choice.Chosen().empty());
    EXPECT_EQ(choice.Available(), Names{"B1.DAT"});

    choice.SelectAddress('Q');  // not an address of the run: nothing changes
    EXPECT_EQ(choice.Listing().CurrentAddress(), 'B');

    ASSERT_EQ(choice.Choose(0), "");
    choice.terminalScope = 0;
    const core::PickAnswer answer = choice.Answer();
    EXPECT_EQ(answer.names, Names{"B1.DAT"});
    EXPECT_EQ(answer.address, 'B');
    EXPECT_EQ(answer.allAddresses, 0);
}

TEST(MultiFileChoice, MovesBackAndForthKeepingBothListsSorted) {
    Listings listings;
    listings.texts[0] = "D,B,C,A";
    MultiFileChoice choice(listings.Request("A"));
    ASSERT_EQ(choice.Choose(3), "");  // D
    ASSERT_EQ(choice.Choose(0), "");  // A
    EXPECT_EQ(choice.Chosen(), (Names{"A", "D"}));
    choice.Unchoose(1);
    EXPECT_EQ(choice.Available(), (Names{"B", "C", "D"}));
    choice.Unchoose(7);  // beyond the list: nothing
    choice.Choose(9);
    EXPECT_EQ(choice.Chosen(), Names{"A"});
    EXPECT_EQ(choice.Answer().allAddresses, 1);
}

TEST(MultiFileChoice, RefusesTheFortyFirstFile) {
    Listings listings;
    for (int i = 0; i < 41; ++i) listings.texts[0] += "F" + std::to_string(100 + i) + ",";
    MultiFileChoice choice(listings.Request("A"));
    for (int i = 0; i < 40; ++i) ASSERT_EQ(choice.Choose(0), "");
    EXPECT_NE(choice.Choose(0), "");
    EXPECT_EQ(choice.Chosen().size(), 40u);
    EXPECT_EQ(choice.Available(), Names{"F140"});
}

TEST(MultiFileChoice, AnEraseRefusesNamesLongerThanNineteenCharacters) {
    Listings listings;
    const std::string longest(19, 'E');
    listings.texts[0] = longest + "," + longest + "X";
    core::PickRequest request = listings.Request("A");
    request.maxNameLength = 19;
    MultiFileChoice choice(request);
    EXPECT_NE(choice.Choose(1), "");
    EXPECT_EQ(choice.Choose(0), "");
    EXPECT_EQ(choice.Chosen(), Names{longest});

    MultiFileChoice upload(listings.Request("A"));  // an upload takes any name
    EXPECT_EQ(upload.Choose(1), "");
}

TEST(MultiFileChoice, WithoutAddressesOrListingsOffersNothing) {
    core::PickRequest request;
    MultiFileChoice choice(request);
    EXPECT_TRUE(choice.Available().empty());
    EXPECT_EQ(choice.Listing().CurrentAddress(), ' ');
    EXPECT_TRUE(choice.Answer().names.empty());
}

TEST(ProgramChoice, TakesTheChosenOrTypedNameUpToNineteenCharacters) {
    Listings listings;
    listings.texts[0] = "MAIN.EXE";
    listings.texts[1] = "OTHER.EXE,DATA.DAT";
    ProgramChoice choice(listings.Request("AB", true));
    choice.SelectAddress('B');
    choice.ChooseProgram(0);
    EXPECT_EQ(choice.fileText, "OTHER.EXE");
    EXPECT_EQ(choice.Check(), "");
    const core::PickAnswer answer = choice.Answer();
    EXPECT_EQ(answer.names, Names{"OTHER.EXE"});
    EXPECT_EQ(answer.address, 'B');
    EXPECT_EQ(answer.allAddresses, 1);

    choice.fileText = std::string(kMaxProgramName, 'P');
    EXPECT_EQ(choice.Check(), "");
    choice.fileText += 'P';
    EXPECT_NE(choice.Check(), "");
}

TEST(PcFileChoice, ReturnsItsFilesAlphabeticallyWhateverTheOrderAdded) {
    PcFileChoice choice("BA");
    EXPECT_EQ(choice.Addresses(), (std::vector<char>{'A', 'B'}));
    for (const char* path : {"/pc/zeta.dat", "/pc/Alpha.exe", "/pc/mid.txt"}) {
        ASSERT_EQ(choice.Add(path), "");
    }
    choice.Remove(2);  // zeta
    ASSERT_EQ(choice.Add("/pc/beta.dat"), "");

    testing::DialogFixture fixture;
    ASSERT_TRUE(ConfirmPcFiles(fixture.state, choice));
    EXPECT_EQ(fixture.state.lists.pickedFiles,
              (Names{"/pc/Alpha.exe", "/pc/beta.dat", "/pc/mid.txt"}));
}

TEST(PcFileChoice, NothingChosenStartsNothingAndKeepsThePickedFiles) {
    testing::DialogFixture fixture;
    fixture.state.lists.pickedFiles = {"EARLIER.DAT"};
    PcFileChoice choice("A");
    ASSERT_EQ(choice.Add("/pc/x"), "");
    choice.Remove(0);
    EXPECT_FALSE(ConfirmPcFiles(fixture.state, choice));
    EXPECT_EQ(fixture.state.lists.pickedFiles, Names{"EARLIER.DAT"});
}

TEST(PcFileChoice, RefusesTheFortyFirstFileAndPathsTooLongForAName) {
    PcFileChoice choice("A");
    EXPECT_NE(choice.Add(std::string(kMaxListName + 1, 'p')), "");
    for (int i = 0; i < 40; ++i) ASSERT_EQ(choice.Add("/pc/f" + std::to_string(i)), "");
    EXPECT_NE(choice.Add("/pc/one-more"), "");
    EXPECT_EQ(choice.Chosen().size(), 40u);
}

}  // namespace
}  // namespace zelo::dialogs
