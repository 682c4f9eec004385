// Queries read back by the host at fixed positions: sizes, directories,
// identity and version, file existence, the program area.
#include "terminal_fixture.hpp"

namespace termsim::test {
namespace {

class QueryTest : public TerminalTest {};

TEST_F(QueryTest, MemorySizeLayoutsByModel) {
    // The host counts the reply's length with the two bytes the link layer
    // puts in front: 11 for three 3-digit fields, 14 for three 4-digit
    // fields, 19 with the EMS fields.
    TerminalConfig gravo = configFor(Model::Gravo);
    gravo.ramKb = 256;
    start(gravo);
    WriteAll(ram() / "A.DAT", std::string(1025, 'x'));  // 2 KB used, rounded up
    EXPECT_EQ(text("G").payload, "256064190");

    TerminalConfig brisa = configFor(Model::Brisa);
    brisa.ramKb = 4096;
    brisa.programAreaKb = 512;
    start(brisa);
    EXPECT_EQ(text("G").payload, "409605123582");

    TerminalConfig delmar = configFor(Model::Delmar);
    delmar.emsKb = 4096;
    start(delmar);
    WriteAll(ems() / "E.DAT", std::string(3000, 'x'));
    const Reply reply = text("G");
    EXPECT_EQ(reply.status, 1);
    EXPECT_EQ(reply.payload.size() + 2, 19u);
    EXPECT_EQ(reply.payload.substr(9), "40964093");
}

TEST_F(QueryTest, SizesTooLargeForTheirFieldsAreHeldAtTheLargestNumber) {
    TerminalConfig config = configFor(Model::Gravo);
    config.ramKb = 2048;
    config.flashKb = 20000;
    start(config);
    EXPECT_EQ(text("G").payload.substr(0, 3), "999");
    EXPECT_EQ(text("G/ROM").payload, "99999999");
}

TEST_F(QueryTest, FlashSizesAndListing) {
    TerminalConfig config = configFor(Model::Fenna);
    config.flashKb = 1024;
    start(config);
    WriteAll(flash() / "MENU.EXE", std::string(4096, 'x'));
    WriteAll(flash() / "LOOKUP.DAT", "x");
    EXPECT_EQ(text("G/ROM").payload, "10241019");
    EXPECT_EQ(text("D/ROM").payload, "LOOKUP.DAT,MENU.EXE");
}

TEST_F(QueryTest, FlashListingKeepsWholeNamesWithinTheReplyBuffer) {
    start();
    for (int i = 0; i < 20; ++i)
        WriteAll(flash() / ("PROGRAM" + std::to_string(10 + i) + ".EXE"), "");
    const std::string listing = text("D/ROM").payload;
    EXPECT_LE(listing.size(), 125u);
    EXPECT_EQ(listing.back(), 'E');
    EXPECT_EQ(listing.substr(0, 12), "PROGRAM10.EX");
}

TEST_F(QueryTest, DirectoryFlagsLetTheHostJoinEveryEntry) {
    start();
    for (const char* name : {"C.DAT", "A.EXE", "B.TXT"}) WriteAll(ram() / name, "x");
    std::filesystem::create_directories(ram() / "SUBDIR");

    // The host appends the first entry, then every entry that comes with
    // the flag set, and stops at the first reply without it.
    Reply reply = send(Command::DirFirst);
    std::string listing = reply.payload;
    for (int guard = 0; guard < 10; ++guard) {
        reply = send(Command::DirNext);
        if (!reply.more) break;
        listing += "," + reply.payload;
    }
    EXPECT_EQ(listing, "A.EXE,B.TXT,C.DAT");
    EXPECT_EQ(reply.status, 1);
}

TEST_F(QueryTest, EmptyDirectory) {
    start();
    const Reply first = send(Command::DirFirst);
    EXPECT_EQ(first.status, 1);
    EXPECT_EQ(first.payload, "");
    EXPECT_FALSE(send(Command::DirNext).more);
}

TEST_F(QueryTest, EveryModelIdIsReadAsItsModelWhereTheHostCanTellIt) {
    for (int number = 0; number <= 6; ++number) {
        const Model model = static_cast<Model>(number);
        start(model);
        const Reply id = send(Command::TerminalId);
        ASSERT_EQ(id.status, 1);
        // The host's rule only knows Gravo, Fenna, Estra and Corvo; the
        // other three read as Gravo.
        const bool detectable = model == Model::Gravo || model == Model::Fenna ||
                                model == Model::Estra || model == Model::Corvo;
        EXPECT_EQ(modelDetectedFromId(id.payload), detectable ? model : Model::Gravo) << id.payload;
        const Reply version = text("v");
        EXPECT_EQ(version.status, 1);
        EXPECT_NE(version.payload.find(profileOf(model).name), std::string::npos);
    }
}

TEST_F(QueryTest, EmptyIdAndVersionTextsAnswerNone) {
    TerminalConfig config = configFor(Model::Brisa);
    config.idText = "";
    config.versionText = "";
    start(config);
    EXPECT_EQ(send(Command::TerminalId).status, 9);
    EXPECT_EQ(text("v").status, 9);
}

TEST_F(QueryTest, FileExistenceOnEachDrive) {
    start(Model::Delmar);
    WriteAll(ram() / "DATA.TXT", std::string(1234, 'x'));
    WriteAll(flash() / "MENU.EXE", std::string(2048, 'x'));
    WriteAll(ems() / "BIG.DAT", std::string(7, 'x'));

    const Reply ram = send(Command::FileExists, "data.txt");
    EXPECT_EQ(ram.status, 6);
    EXPECT_EQ(ram.payload, "1234");
    const Reply rom = send(Command::FileExists, "MENU.EXE");
    EXPECT_EQ(rom.status, 8);
    EXPECT_EQ(rom.payload, "2048");
    EXPECT_EQ(send(Command::FileExists, "C:BIG.DAT").payload, "7");
    EXPECT_EQ(send(Command::FileExists, "NONE.TXT").status, 7);
    EXPECT_EQ(send(Command::FileExists, "../DATA.TXT").status, 7);
}

TEST_F(QueryTest, ProgramAreaNeedsAnEmptyRamDiskAndRoom) {
    TerminalConfig config = configFor(Model::Gravo);
    config.ramKb = 256;
    start(config);
    EXPECT_EQ(text("F128").payload, "0");
    EXPECT_EQ(terminal_->settings().programAreaKb, 128u);
    EXPECT_EQ(text("F257").payload, "2");
    WriteAll(ram() / "A.DAT", "x");
    EXPECT_EQ(text("F064").payload, "1");
    EXPECT_EQ(terminal_->settings().programAreaKb, 128u);
    EXPECT_EQ(text("F12").status, 2);
    EXPECT_EQ(text("F12x").status, 2);
}

}  // namespace
}  // namespace termsim::test
