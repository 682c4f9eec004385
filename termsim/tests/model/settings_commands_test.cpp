// Each control and settings command leaves its mark in the state dump, in
// the form the host sent it; refused settings leave the old value.
#include "line_fixture.hpp"

namespace termsim::test {
namespace {

class SettingsTest : public LineTest {
protected:
    void SetUp() override { startLine("A"); }
};

TEST_F(SettingsTest, TablesClockAndPasswordAreRecorded) {
    EXPECT_EQ(text('A', "T9600"), 4);
    EXPECT_EQ(text('A', "C718NMA02"), 4);
    EXPECT_EQ(text('A', "VPNN 9N0 "), 4);
    EXPECT_EQ(text('A', "BNNFNN"), 4);
    EXPECT_EQ(text('A', "M20261208101500"), 4);
    EXPECT_EQ(text('A', "Psecret"), 4);
    EXPECT_EQ(dumped("terminalTable"), "\"9600\"");
    EXPECT_EQ(dumped("commTable"), "\"718NMA02\"");
    EXPECT_EQ(dumped("deviceTable"), "\"PNN 9N0 \"");
    EXPECT_EQ(dumped("barcodeTable"), "\"NNFNN\"");
    EXPECT_EQ(dumped("clock"), "\"20261208101500\"");
    EXPECT_EQ(dumped("passwordSet"), "true");
    EXPECT_EQ(dumped("passwordInClearTestOnly"), "\"secret\"");
}

TEST_F(SettingsTest, InvalidSettingsAreRefusedAndKeepTheOldValue) {
    ASSERT_EQ(text('A', "M20261208101500"), 4);
    for (const char* clock : {"M2026120810150", "M20261308101500", "M20261200101500",
                              "M20261208241500", "M2026120810150x"}) {
        EXPECT_EQ(text('A', clock), 7) << clock;
    }
    EXPECT_EQ(dumped("clock"), "\"20261208101500\"");
    for (const char* table :
         {"C", "C118NMA02", "C738NMA02", "C719NMA02", "C718XMA02", "C718N", "T", "V", "B"}) {
        EXPECT_EQ(text('A', table), 7) << table;
    }
    EXPECT_EQ(text('A', "T" + std::string(65, '9')), 7);
    EXPECT_EQ(dumped("commTable"), "\"\"");
}

TEST_F(SettingsTest, PowerSavingUploadModeKermitAndUps) {
    EXPECT_EQ(dumped("powerSaving"), "true");
    EXPECT_EQ(text('A', "7"), 4);
    EXPECT_EQ(dumped("powerSaving"), "false");
    EXPECT_EQ(text('A', "8"), 4);
    EXPECT_EQ(dumped("powerSaving"), "true");

    const auto uploadMode = send('A', Command::Text, "Q");
    EXPECT_EQ(uploadMode->payload, "0");
    EXPECT_EQ(dumped("uploadMode"), "true");
    EXPECT_EQ(text('A', "k"), 4);
    EXPECT_EQ(dumped("kermitMode"), "true");
    EXPECT_EQ(text('A', "F"), 4);
    EXPECT_EQ(dumped("upsOff"), "true");
}

TEST_F(SettingsTest, KeypadBuzzerAndFonts) {
    EXPECT_EQ(send('A', Command::Keypad, {}, '2')->status, 4);
    EXPECT_EQ(dumped("keypad"), "\"2\"");
    EXPECT_EQ(send('A', Command::Keypad, {}, 'A')->status, 4);
    EXPECT_EQ(send('A', Command::Keypad, {}, 2)->status, 7);  // the host raises codes below 32
    EXPECT_EQ(dumped("keypad"), "\"A\"");

    EXPECT_EQ(send('A', Command::Buzzer, {}, '9')->status, 4);
    EXPECT_EQ(send('A', Command::Buzzer, {}, 'x')->status, 7);
    EXPECT_EQ(dumped("buzzerVolume"), "\"9\"");

    EXPECT_EQ(send('A', Command::Text, "f1")->payload, "0");
    EXPECT_EQ(send('A', Command::Text, "f7")->payload, "1");
    EXPECT_EQ(dumped("systemFont"), "\"1\"");
}

TEST_F(SettingsTest, ProgramsRunAndBootFromEitherDrive) {
    WriteAll(folder_.Path() / "A/ram/PROG.EXE", "x");
    WriteAll(folder_.Path() / "A/flash/MENU.EXE", "x");
    EXPECT_EQ(send('A', Command::RunningProgram)->status, 9);
    // The host cuts the extension off before it sends a program name.
    EXPECT_EQ(send('A', Command::Execute, "PROG")->status, 6);
    EXPECT_EQ(send('A', Command::RunningProgram)->payload, "PROG.EXE");
    EXPECT_EQ(send('A', Command::Execute, "MENU/ROM")->status, 6);
    EXPECT_EQ(send('A', Command::Execute, "MISSING")->status, 7);
    EXPECT_EQ(dumped("programsStarted"), "[\"PROG\", \"MENU/ROM\"]");

    EXPECT_EQ(send('A', Command::AutoBoot, "PROG")->status, 6);
    EXPECT_EQ(dumped("autoBootProgram"), "\"PROG.EXE\"");
    EXPECT_EQ(text('A', "OMENU/ROM"), 6);
    EXPECT_EQ(dumped("autoBootProgram"), "\"MENU.EXE\"");
    EXPECT_EQ(dumped("autoBootFromFlash"), "true");
    EXPECT_EQ(send('A', Command::AutoBoot, "../PROG")->status, 7);
    EXPECT_EQ(text('A', "ONONE/ROM"), 7);

    // A restart runs the auto-boot program.
    EXPECT_EQ(send('A', Command::WarmStart)->status, 4);
    EXPECT_EQ(send('A', Command::ColdStart)->status, 4);
    EXPECT_EQ(dumped("warmStarts"), "1");
    EXPECT_EQ(dumped("coldStarts"), "1");
    EXPECT_EQ(dumped("runningProgram"), "\"MENU.EXE\"");
}

TEST_F(SettingsTest, DeleteSendDataAndSendBack) {
    WriteAll(folder_.Path() / "A/ram/OLD.DAT", "x");
    EXPECT_EQ(send('A', Command::Delete, "old.dat")->status, 6);
    EXPECT_EQ(send('A', Command::Delete, "old.dat")->status, 7);
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "A/ram/OLD.DAT"));
    EXPECT_EQ(dumped("filesDeleted"), "[\"old.dat\"]");

    EXPECT_EQ(send('A', Command::Data, "AB\\\x81")->status, 4);
    // Cut inside an escape pair: refused, not stored wrong.
    EXPECT_EQ(send('A', Command::Data, "ABC\\")->status, 7);
    EXPECT_EQ(dumped("dataReceived"), "[\"AB\\u0001\"]");

    // A fixed length of four reaches past a shorter text's terminator.
    EXPECT_EQ(send('A', Command::Data, std::string("AB\0\0", 4))->status, 4);
    EXPECT_EQ(dumped("dataReceived"), "[\"AB\\u0001\", \"AB\"]");

    const auto back = send('A', Command::Text, "9XYZ");
    EXPECT_EQ(back->status, 1);
    EXPECT_EQ(back->payload, "XYZ");
    EXPECT_EQ(dumped("sendBackReceived"), "[\"XYZ\"]");
}

TEST_F(SettingsTest, UnknownTextsAreIllegalAndCounted) {
    for (const char* request : {"", "X", "D", "D/RAM", "Gx", "ZZ", "O", "OPROG"}) {
        EXPECT_EQ(text('A', request), 2) << request;
    }
    EXPECT_EQ(dumped("illegalRequests"), "8");
}

class AddressTest : public LineTest {};

TEST_F(AddressTest, ChangedAddressAnswersFromThenOn) {
    startLine("ABD");
    EXPECT_EQ(send('B', Command::SetAddress, {}, 'C')->status, 6);
    EXPECT_FALSE(send('B', Command::TerminalId).has_value());
    EXPECT_TRUE(send('C', Command::TerminalId).has_value());
    EXPECT_EQ(dumped("address", 1), "\"C\"");
}

TEST_F(AddressTest, TakenOrInvalidAddressesAreRefused) {
    startLine("AB");
    EXPECT_EQ(send('A', Command::SetAddress, {}, 'B')->status, 7);
    EXPECT_EQ(send('A', Command::SetAddress, {}, 'Z')->status, 7);
    EXPECT_EQ(send('A', Command::SetAddress, {}, '7')->status, 7);
    EXPECT_EQ(send('A', Command::SetAddress, {}, 'a')->status, 7);
    EXPECT_EQ(send('A', Command::SetAddress, {}, '6')->status, 6);
    EXPECT_EQ(dumped("address", 0), "\"6\"");
}

TEST_F(AddressTest, NobodyAnswersAnUnusedAddress) {
    startLine("A");
    EXPECT_FALSE(send('B', Command::Poll).has_value());
}

TEST_F(AddressTest, DumpFileFollowsChanges) {
    startLine("A");
    const auto file = folder_.Path() / "state.json";
    ASSERT_TRUE(line_->keepStateDumpIn(file));
    EXPECT_NE(ReadAll(file).find("\"keypad\": \"\""), std::string::npos);
    send('A', Command::Keypad, {}, '1');
    EXPECT_NE(ReadAll(file).find("\"keypad\": \"1\""), std::string::npos);
}

}  // namespace
}  // namespace termsim::test
