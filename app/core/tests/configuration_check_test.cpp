// What the operator is told about values the loader replaces; the loader's
// own decoding is tested in configuration_test.cpp.
#include "core/configuration_check.hpp"

#include <gtest/gtest.h>

namespace zelo::core {
namespace {

std::vector<std::string> Check(const std::string& text) {
    return CheckConfiguration(ProfileText(text), "Zelocom.ini");
}

TEST(ConfigurationCheck, ValuesTheLoaderReplacesAreNamedWithTheirLine) {
    const auto notes = Check(
        "[Communication]\n"
        "Port=1\n"
        "BaudRate=14400\n"
        "Parity=X\n"
        "Address=a,b;Z9\n"
        "Time_out=fast\n"
        "ErrorLog=Yes\n"
        "[poll]\n"
        "MaxError=500\n"
        "Start_Time=7h30\n"
        "Polling_Period=Every\n");
    ASSERT_EQ(notes.size(), 6u) << ::testing::PrintToString(notes);
    EXPECT_EQ(notes[0],
              "Zelocom.ini:3: BaudRate=14400 is not a speed of 110 to 57600 baud; 9600 is used");
    EXPECT_EQ(notes[1], "Zelocom.ini:4: Parity=X is not one of its choices; NONE is used");
    EXPECT_EQ(notes[2],
              "Zelocom.ini:5: Address=a,b;Z9 holds characters that are no terminal "
              "address; AB is used");
    EXPECT_EQ(notes[3], "Zelocom.ini:6: Time_out=fast is not a number; 0 is used");
    // ErrorLog=Yes reads as New by its second letter, one of the known ones.
    EXPECT_EQ(notes[4], "Zelocom.ini:9: MaxError=500 is outside 0..100; 1 is used");
    EXPECT_EQ(notes[5], "Zelocom.ini:10: Start_Time=7h30 is not a time hh:mm:ss; 07:00:00 is used");
}

TEST(ConfigurationCheck, MissingKeysAndGoodValuesSayNothing) {
    EXPECT_TRUE(Check("").empty());
    EXPECT_TRUE(Check("[Communication]\r\nPort=256\r\nBaudRate=57600\r\nAddress=AB0\r\n"
                      "ErrorLog=NO\r\n[POLL]\r\nStart_Time=7:5\r\nAuto_Time_Sync=Start\r\n")
                    .empty());
}

TEST(ConfigurationCheck, TextsLongerThanTheirBufferAreCut) {
    const auto notes = Check("[Delete_File]\nDelete_File1=ABCDEFGHIJKLMNOPQRSTUVWXYZ\n");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0],
              "Zelocom.ini:2: Delete_File1=ABCDEFGHIJKLMNOPQRSTUVWXYZ is longer than 19 "
              "characters; it is cut");
}

}  // namespace
}  // namespace zelo::core
