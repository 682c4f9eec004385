#include "core/configuration.hpp"

#include <gtest/gtest.h>

#include "core/profile_text.hpp"
#include "test_support.hpp"

namespace zelo::core {
namespace {

using test_support::ReadAll;
using test_support::TemporaryFolder;
using test_support::WriteAll;
using testing::RecordingView;

class ConfigurationTest : public ::testing::Test {
protected:
    void Load(ModelState& state) {
        LoadConfiguration(platform_, path_, state, view_, MissingModel::kAskUser);
    }
    bool Save(const ModelState& state) { return SaveConfiguration(platform_, path_, state); }
    // The value as the file now holds it, read back by our own reader.
    std::string Saved(const char* section, const char* key) {
        return ProfileText(ReadAll(path_)).Read(section, key, "<missing>", 200);
    }

    TemporaryFolder dir_;
    SystemPlatform platform_;
    std::string path_ = dir_.File("Zelocom.ini");
    RecordingView view_;
};

TEST_F(ConfigurationTest, NoFileGivesDefaultsAndAsksForTheTerminalModel) {
    ModelState state;
    state.comm.port = 9;
    Load(state);
    EXPECT_EQ(state.comm.port, 1);
    EXPECT_EQ(state.comm.baudIndex, 6);
    EXPECT_EQ(state.comm.dataBitsIndex, 1);
    EXPECT_EQ(state.comm.stopBitsIndex, 0);
    EXPECT_EQ(state.comm.parity, 0);
    EXPECT_EQ(state.comm.addresses, "A");
    EXPECT_EQ(state.comm.terminalType, 0);
    EXPECT_EQ(view_.terminalDialogs, 1);
    EXPECT_EQ(state.timing.nakDelay, 50) << "the missing-key default, not a family preset";
    EXPECT_EQ(state.poll.autoSyncStart, "06:00:00");
    EXPECT_EQ(state.commandLine.autoExit, 1);
    EXPECT_EQ(state.status.showErrorBox.load(), 1);
    EXPECT_EQ(state.errorLogMode, kErrorLogOff);
    EXPECT_EQ(state.lists.groupDownloads, 1);
}

TEST_F(ConfigurationTest, OddValuesLoadDecodedAndSaveInTheirWrittenForm) {
    WriteAll(path_,
             "[Communication]\r\nBaudRate=14400\r\nAddress=a,b;Z9\r\nErrorLog=Yes\r\n"
             "Terminal_type=Delmar\r\n[Poll]\r\nPolling_Period=Every\r\nStart_Time=7:5\r\n");
    ModelState state;
    Load(state);
    EXPECT_EQ(state.comm.baudIndex, 6);
    EXPECT_EQ(state.comm.addresses, "AB");
    EXPECT_EQ(state.errorLogMode, kErrorLogNew);
    EXPECT_EQ(state.poll.pollingPeriod, 2);
    EXPECT_EQ(state.poll.startTime, "07:05:00");
    EXPECT_EQ(state.comm.terminalType, 4);
    EXPECT_EQ(view_.terminalDialogs, 0);

    ASSERT_TRUE(Save(state));
    EXPECT_EQ(Saved("Communication", "BaudRate"), "9600");
    EXPECT_EQ(Saved("Communication", "Address"), "AB");
    EXPECT_EQ(Saved("Communication", "ErrorLog"), "New");
    EXPECT_EQ(Saved("POLL", "Polling_Period"), "ExistWhenPeriodNoData");
    EXPECT_EQ(Saved("POLL", "Start_Time"), "07:05:00");
    EXPECT_EQ(Saved("Communication", "Terminal_type"), "Delmar");
}

TEST_F(ConfigurationTest, OutOfRangeAndNonNumericValuesTakeTheirFallbacks) {
    WriteAll(path_,
             "[Communication]\nPort=257\nDataBit=9\nStopBit=2\nParity=odd\nAutoBaudRate=2\n"
             "Address=" +
                 std::string(45, 'B') +
                 "\nTime_out=abc\nErrorLog=Append\n"
                 "Terminal_type=Halda\n[Poll]\nMaxError=101\nAuto_Time_Sync=Start\n"
                 "[Modem]\nModem_Phone_no001=0123456789012345678901234567890123\n"
                 "Modem_Phone_name001=" +
                 std::string(40, 'n') + "\n");
    ModelState state;
    Load(state);
    EXPECT_EQ(state.comm.port, 1);
    EXPECT_EQ(state.comm.dataBitsIndex, 1);
    EXPECT_EQ(state.comm.stopBitsIndex, 1);
    EXPECT_EQ(state.comm.parity, 1);
    EXPECT_EQ(state.status.autoBaud.load(), 0);
    EXPECT_EQ(state.comm.addresses, std::string(39, 'B'));
    EXPECT_EQ(state.timing.timeOut, 0);
    EXPECT_EQ(state.errorLogMode, kErrorLogAppend);
    EXPECT_EQ(state.poll.maxError, 1);
    EXPECT_EQ(state.poll.autoTimeSync, 1);
    EXPECT_EQ(state.phoneBook.entries[0].number, "012345678901234567890123456789");
    EXPECT_EQ(state.phoneBook.entries[0].name, std::string(30, 'n'));
    EXPECT_EQ(state.comm.terminalType, 0);
    EXPECT_EQ(view_.terminalDialogs, 1);

    WriteAll(path_, "[Communication]\nPort=0\nParity=e\n[Poll]\nMaxError=0\n");
    Load(state);
    EXPECT_EQ(state.comm.port, 1);
    EXPECT_EQ(state.comm.parity, 2);
    EXPECT_EQ(state.poll.maxError, 0);
}

TEST_F(ConfigurationTest, LowerCasePollSectionIsReadAndRewrittenInPlace) {
    WriteAll(path_, "[poll]\nfile_name=MY.DAT\nmaxerror=7\n[Communication]\nTerminal_type=Fenna\n");
    ModelState state;
    Load(state);
    EXPECT_EQ(state.poll.pollFileName, "MY.DAT");
    EXPECT_EQ(state.poll.maxError, 7);
    state.poll.maxError = 8;
    ASSERT_TRUE(Save(state));
    const std::string saved = ReadAll(path_);
    EXPECT_EQ(saved.find("[POLL]"), std::string::npos);
    EXPECT_EQ(saved.rfind("[poll]\nfile_name=MY.DAT\nmaxerror=8\nOpen_Method=Append\n", 0), 0u);
}

TEST_F(ConfigurationTest, FreshFileHasItsSectionsInSaveOrder) {
    ModelState state;
    ASSERT_TRUE(Save(state));
    const std::string saved = ReadAll(path_);
    std::size_t previous = 0;
    for (const char* section :
         {"[Communication]\r\nPort=1\r\nBaudRate=9600\r\nDataBit=8\r\nStopBit=1\r\nParity=NONE\r\n"
          "Address=A\r\nTerminal_type=Gravo/Halda\r\nAutoBaudRate=0\r\n",
          "[POWER]", "[Multi_download]", "[Multi_upload]\r\nFile1=\r\nDelete1=NO\r\nFile2=",
          "[POLL]", "[Delete_File]", "[Lanta]", "[COMMAND_LINE]",
          "[Modem]\r\nUse_modem=No\r\nModem_Initial_command=ATS0=1\r\nDial_Wait_Time=60\r\n"
          "Dial_Type=0\r\nModem_Phone_no001=\r\nModem_Phone_name001=\r\nModem_Phone_no002=",
          "[MESSAGE_WINDOW]\r\nFONT_SIZE=8\r\n"}) {
        const std::size_t at = saved.find(section);
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GE(at, previous) << section;
        previous = at;
    }
    EXPECT_NE(saved.find("TERMINAL_TIMEOUT=2\r\nErrorLog=NO\r\n[POWER]"), std::string::npos);
}

void SetEveryValueAwayFromItsDefault(ModelState& state) {
    state.comm = {"C0Y", 256, 9, 0, 1, 2, 5, "", "ATZ", 1, 45};
    state.status.autoBaud = 1;
    state.status.powerSaving = 1;
    state.status.showErrorBox = 0;
    state.status.useModem = 1;
    state.timing = {500, 30, 100, 7};
    for (std::size_t i = 0; i < kListFiles; ++i) {
        state.lists.downloadFiles[i] = "DL" + std::to_string(i) + ".EXE";
        state.lists.uploadFiles[i] = "C:\\up load\\UL" + std::to_string(i);
        state.lists.deleteAfterUpload[i] = static_cast<int>(i % 2);
    }
    state.lists.groupDownloads = 0;
    state.lists.uploadSaveMode = 1;
    state.lists.uploadLoop = 1;
    state.lists.uploadPeriod = 120;
    state.lists.deleteFileName = "OLD.DAT";
    state.lists.lantaConfigName = "SITE.K40";
    state.poll = {"OUT.DAT",  1,          5, 3, 11,         12,        13,
                  "01:02:03", "22:00:00", 0, 2, "05:00:00", "05:30:00"};
    state.commandLine.autoExit = 0;
    state.phoneBook.entries[0] = {"0123", "Head office"};
    state.phoneBook.entries[99] = {"999", "Last"};
    state.messageFontSize = 12;
    state.errorLogMode = kErrorLogAppend;
}

TEST_F(ConfigurationTest, FileWrittenByUsReadsBackIdentically) {
    WriteAll(path_, "; site notes\n[Communication]\nPort=2\nCustom=kept\n\n[Extra]\nA=1\n");
    ModelState written;
    SetEveryValueAwayFromItsDefault(written);
    ASSERT_TRUE(Save(written));
    const std::string first = ReadAll(path_);

    ModelState read;
    Load(read);
    EXPECT_EQ(view_.terminalDialogs, 0);
    EXPECT_EQ(read.comm.addresses, "C0Y");
    EXPECT_EQ(read.comm.port, 256);
    EXPECT_EQ(read.comm.baudIndex, 9);
    EXPECT_EQ(read.comm.terminalType, 5);
    EXPECT_EQ(read.comm.dialWaitTime, 45);
    EXPECT_EQ(read.status.powerSaving.load(), 1);
    EXPECT_EQ(read.timing.terminalTimeout, 7);
    EXPECT_EQ(read.lists.uploadFiles[11], "C:\\up load\\UL11");
    EXPECT_EQ(read.lists.deleteAfterUpload[1], 1);
    EXPECT_EQ(read.lists.groupDownloads, 0);
    EXPECT_EQ(read.poll.pollingPeriod, 3);
    EXPECT_EQ(read.poll.autoTimeSync, 2);
    EXPECT_EQ(read.phoneBook.entries[99].name, "Last");
    EXPECT_EQ(read.errorLogMode, kErrorLogAppend);

    // Every value is written, so a second save of what was read changes nothing.
    ASSERT_TRUE(Save(read));
    EXPECT_EQ(ReadAll(path_), first);
    EXPECT_EQ(first.rfind("; site notes\n[Communication]\nPort=256\nCustom=kept\n", 0), 0u);
    EXPECT_NE(first.find("\n\n[Extra]\nA=1\n"), std::string::npos);
    EXPECT_EQ(first.find('\r'), std::string::npos) << "an LF file stays LF";
}

TEST_F(ConfigurationTest, SavedAddressesAreFilteredButTheRecordIsNot) {
    ModelState state;
    state.comm.addresses = "AZ,b";  // as command-line mode leaves it
    ASSERT_TRUE(Save(state));
    EXPECT_EQ(Saved("Communication", "Address"), "AB");
    EXPECT_EQ(state.comm.addresses, "AZ,b");
}

TEST(ConfigurationLocation, ExactlyOneSeparatorBeforeTheFileName) {
    EXPECT_EQ(LocateConfiguration("C:\\", '\\').configurationPath, "C:\\Zelocom.ini");
    EXPECT_EQ(LocateConfiguration("C:\\", '\\').workingDirectory, "C:");
    EXPECT_EQ(LocateConfiguration("C:\\work", '\\').errorLogPath, "C:\\work\\ERR_LOG.TXT");
    EXPECT_EQ(LocateConfiguration("/", '/').configurationPath, "/Zelocom.ini");
    const std::string deep = "/" + std::string(150, 'd');
    EXPECT_EQ(LocateConfiguration(deep, '/').configurationPath, deep + "/Zelocom.ini");
}

TEST(FamilyPresets, TimingAndPowerSavingOfEachFamily) {
    ModelState state;
    ApplyFamilyPreset(state, 4);
    EXPECT_EQ(state.timing.timeOut, 500);
    EXPECT_EQ(state.timing.escDelay, 30);
    EXPECT_EQ(state.timing.nakDelay, 100);
    EXPECT_EQ(state.status.powerSaving.load(), 1);
    ApplyFamilyPreset(state, 6);
    EXPECT_EQ(state.timing.timeOut, 400);
    EXPECT_EQ(state.timing.escDelay, 10);
    EXPECT_EQ(state.timing.nakDelay, 30);
    EXPECT_EQ(state.status.powerSaving.load(), 0);
}

}  // namespace
}  // namespace zelo::core
