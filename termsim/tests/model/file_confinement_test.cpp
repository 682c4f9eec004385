// Names from the host never reach a file outside the terminal's folder.
#include "file_names.hpp"
#include "terminal_fixture.hpp"

namespace termsim::test {
namespace {

TEST(FileNameTest, OnlyPlainNamesAreSafe) {
    for (const char* name : {"DATA.TXT", "a", "PROG.EXE", "X~1.DAT", "[1].TXT"}) {
        EXPECT_TRUE(isSafeFileName(name)) << name;
    }
    for (const std::string& name :
         {std::string(), std::string("."), std::string(".."), std::string("../X"),
          std::string("/etc/passwd"), std::string("A/B"), std::string("A\\B"), std::string("C:X:Y"),
          std::string(".profile"), std::string("A B"), std::string("A\0B", 3), std::string("A\x7F"),
          std::string("A\xE9"), std::string("*.*"), std::string(65, 'A')}) {
        EXPECT_FALSE(isSafeFileName(name)) << name;
    }
}

TEST(FileNameTest, DriveMarkers) {
    EXPECT_EQ(parseTerminalFileName("C:DATA.TXT", false)->drive, Drive::Ems);
    EXPECT_EQ(parseTerminalFileName("MENU/ROM", true)->drive, Drive::Flash);
    EXPECT_EQ(parseTerminalFileName("MENU/ROM", true)->name, "MENU");
    EXPECT_FALSE(parseTerminalFileName("MENU/ROM", false));
    EXPECT_FALSE(parseTerminalFileName("C:../X", false));
    EXPECT_FALSE(parseTerminalFileName("C:", false));
    EXPECT_FALSE(parseTerminalFileName("../X/ROM", true));
}

class ConfinementTest : public TerminalTest {};

TEST_F(ConfinementTest, EscapingNamesReachNothing) {
    start(Model::Delmar);
    WriteAll(folder_.Path() / "SECRET.TXT", "outside");
    WriteAll(ram() / "INSIDE.TXT", "inside");
    for (const std::string& name :
         {std::string("../SECRET.TXT"), (folder_.Path() / "SECRET.TXT").string(),
          std::string("..\\SECRET.TXT"), std::string("C:../SECRET.TXT"),
          std::string("sub/../../SECRET.TXT")}) {
        EXPECT_EQ(send(Command::UploadRequest, name).status, 7) << name;
        EXPECT_EQ(send(Command::FileExists, name).status, 7) << name;
        EXPECT_EQ(send(Command::Delete, name).status, 7) << name;
        EXPECT_EQ(send(Command::Execute, name).status, 7) << name;
        EXPECT_EQ(text("L" + name).status, 128) << name;
    }
    EXPECT_EQ(ReadAll(folder_.Path() / "SECRET.TXT"), "outside");
}

TEST_F(ConfinementTest, LinksInTheFolderAreNotFollowed) {
    start();
    WriteAll(folder_.Path() / "SECRET.TXT", "outside");
    std::filesystem::create_symlink(folder_.Path() / "SECRET.TXT", ram() / "LINK.TXT");
    EXPECT_EQ(send(Command::UploadRequest, "LINK.TXT").status, 7);
    EXPECT_EQ(send(Command::FileExists, "LINK.TXT").status, 7);
    EXPECT_EQ(send(Command::DirFirst).payload, "");

    // A download of that name replaces the link; the target stays untouched.
    ASSERT_EQ(text("LLINK.TXT").status, 4);
    ASSERT_EQ(text("Ynew").status, 4);
    ASSERT_EQ(text("Z").status, 4);
    EXPECT_EQ(ReadAll(folder_.Path() / "SECRET.TXT"), "outside");
    EXPECT_EQ(ReadAll(ram() / "LINK.TXT"), "new");
}

}  // namespace
}  // namespace termsim::test
