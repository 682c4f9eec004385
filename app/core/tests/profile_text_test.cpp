#include "core/profile_text.hpp"

#include <gtest/gtest.h>

namespace zelo::core {
namespace {

TEST(ProfileTextRead, NamesCompareWithoutCaseAndFirstSectionWins) {
    const ProfileText text("[poll]\r\nfile_name=A.DAT\r\n[Poll]\r\nFile_Name=B.DAT\r\n");
    EXPECT_EQ(text.Read("POLL", "FILE_NAME", "x", 100), "A.DAT");
    EXPECT_EQ(text.Read("Poll", "Open_Method", "Append", 100), "Append");
    EXPECT_EQ(text.Read("Modem", "File_Name", "none", 100), "none");
}

TEST(ProfileTextRead, KeepsAtMostBufferSizeLessOne) {
    const ProfileText text("[Communication]\nAddress=ABCDEFGH\n");
    EXPECT_EQ(text.Read("Communication", "Address", "", 4), "ABC");
    EXPECT_EQ(text.Read("Communication", "Missing", "LONGDEFAULT", 5), "LONG");
    EXPECT_EQ(text.Read("Communication", "Address", "", 0), "");
}

TEST(ProfileTextRead, TrimsBlanksAndOnePairOfQuotes) {
    const ProfileText text(
        "[S]\n  Key1 =  spaced value \t\nKey2=\"quoted\"\nKey3='x'\nKey4=\"unpaired\n"
        "; Key5=commented\nKey6=\nKey7=a=b\n");
    EXPECT_EQ(text.Read("S", "key1", "-", 100), "spaced value");
    EXPECT_EQ(text.Read("S", "Key2", "-", 100), "quoted");
    EXPECT_EQ(text.Read("S", "Key3", "-", 100), "x");
    EXPECT_EQ(text.Read("S", "Key4", "-", 100), "\"unpaired");
    EXPECT_EQ(text.Read("S", "Key5", "-", 100), "-");
    EXPECT_EQ(text.Read("S", "Key6", "-", 100), "") << "an empty value is not a missing key";
    EXPECT_EQ(text.Read("S", "Key7", "-", 100), "a=b");
}

TEST(ProfileTextWrite, ReplacesInPlaceKeepingEverythingElse) {
    const std::string before =
        "; written by hand\r\n[Communication]\r\nport = "
        "3\r\nUnknown=kept\r\n\r\n[Other]\r\nX=1\r\n";
    ProfileText text(before);
    text.Write("COMMUNICATION", "Port", "7");
    EXPECT_EQ(text.Contents(),
              "; written by hand\r\n[Communication]\r\nport =7\r\nUnknown=kept\r\n\r\n"
              "[Other]\r\nX=1\r\n");
}

TEST(ProfileTextWrite, AppendsKeyAfterLastKeyOfItsSection) {
    ProfileText text("[Communication]\nPort=1\n\n[POWER]\nPower_Saving=NO\n");
    text.Write("Communication", "BaudRate", "9600");
    text.Write("power", "Extra", "1");
    EXPECT_EQ(text.Contents(),
              "[Communication]\nPort=1\nBaudRate=9600\n\n[POWER]\nPower_Saving=NO\nExtra=1\n");
}

TEST(ProfileTextWrite, KeyOfAnEmptySectionGoesRightAfterItsHeader) {
    ProfileText text("[Lanta]\n\n[Modem]\n");
    text.Write("Lanta", "CFG_Name", "A.K40");
    EXPECT_EQ(text.Contents(), "[Lanta]\nCFG_Name=A.K40\n\n[Modem]\n");
}

TEST(ProfileTextWrite, NewSectionsGoAtTheEndWithTheFilesLineEnds) {
    ProfileText empty;
    empty.Write("Communication", "Port", "1");
    EXPECT_EQ(empty.Contents(), "[Communication]\r\nPort=1\r\n") << "a new file uses CR LF";

    ProfileText unix("[A]\nX=1\n");
    unix.Write("B", "Y", "2");
    EXPECT_EQ(unix.Contents(), "[A]\nX=1\n[B]\nY=2\n");

    ProfileText noFinalLineEnd("[A]\r\nX=1");
    noFinalLineEnd.Write("A", "Y", "2");
    noFinalLineEnd.Write("B", "Z", "3");
    EXPECT_EQ(noFinalLineEnd.Contents(), "[A]\r\nX=1\r\nY=2\r\n[B]\r\nZ=3\r\n");
}

TEST(ProfileTextWrite, MixedLineEndsStayAsTheyWere) {
    ProfileText text("[A]\r\nX=1\nY=2\r\n");
    text.Write("a", "x", "9");
    EXPECT_EQ(text.Contents(), "[A]\r\nX=9\nY=2\r\n");
}

TEST(ProfileTextWrite, LowerCaseSectionIsReusedNotDuplicated) {
    ProfileText text("[poll]\nfile_name=OLD.DAT\n");
    text.Write("POLL", "File_Name", "NEW.DAT");
    text.Write("POLL", "MaxError", "3");
    EXPECT_EQ(text.Contents(), "[poll]\nfile_name=NEW.DAT\nMaxError=3\n");
}

TEST(ProfileTextWrite, ByteOrderMarkDoesNotHideTheFirstSection) {
    ProfileText text("\xEF\xBB\xBF[Communication]\r\nPort=4\r\n");
    EXPECT_EQ(text.Read("Communication", "Port", "1", 10), "4");
    text.Write("Communication", "Port", "5");
    EXPECT_EQ(text.Contents(), "\xEF\xBB\xBF[Communication]\r\nPort=5\r\n");
}

TEST(ProfileTextWrite, ValueCannotAddLines) {
    ProfileText text;
    text.Write("S", "K", "first\r\n[Injected]\nX=1");
    EXPECT_EQ(text.Contents(), "[S]\r\nK=first\r\n");
}

}  // namespace
}  // namespace zelo::core
