// Every query, control and settings command of the library through the whole
// stack, checked by its result and by what the simulated terminal recorded.
#include <array>
#include <cstring>

#include "line_under_test.hpp"

namespace termsim::end_to_end {
namespace {

class Commands : public LineUnderTest {};

TEST_F(Commands, QueriesAnswerWithTheTerminalsOwnData) {
    TerminalConfig config = terminal('A', Model::Fenna);
    startLine({config});
    WriteAll(ramFolder('A') / "ONE.TXT", "1");
    WriteAll(ramFolder('A') / "TWO.DAT", std::string(2048, 'x'));

    std::vector<char> listing(ZELO_LISTING_SIZE, 0);
    EXPECT_EQ(HM_dir(kPort, 'A', listing.data()), ZELO_OK);
    const std::string names(listing.data());
    EXPECT_NE(names.find("ONE.TXT"), std::string::npos) << names;
    EXPECT_NE(names.find("TWO.DAT"), std::string::npos) << names;
    EXPECT_NE(names.find(','), std::string::npos) << names;

    std::array<int32_t, 5> sizes{-1, -1, -1, -1, -1};
    EXPECT_EQ(HM_ram_size(kPort, 'A', &sizes[0], &sizes[1], &sizes[2], &sizes[3], &sizes[4]),
              ZELO_OK);
    EXPECT_GT(sizes[0], 0);
    EXPECT_EQ(sizes[1], 64) << "the program area the terminal was given";
    int32_t flashTotal = -1, flashFree = -1;
    EXPECT_EQ(HM_flash_size(kPort, 'A', &flashTotal, &flashFree), ZELO_OK);
    EXPECT_GT(flashTotal, 0);

    std::vector<char> text(ZELO_REPLY_SIZE, 0);
    EXPECT_EQ(HM_firmware_version(kPort, 'A', text.data()), ZELO_OK);
    EXPECT_GT(std::strlen(text.data()), 0u);
    EXPECT_EQ(HM_get_return_string_length(0), static_cast<int32_t>(std::strlen(text.data())));
    EXPECT_EQ(HM_terminal_id(kPort, 'A', text.data()), ZELO_OK);
    EXPECT_GT(std::strlen(text.data()), 0u);

    int32_t length = -1;
    EXPECT_EQ(HM_file_exist(kPort, 'A', "TWO.DAT", &length), ZELO_OK);
    EXPECT_EQ(length, 2048);
    EXPECT_EQ(HM_file_exist(kPort, 'A', "NONE.DAT", &length), ZELO_NO_SUCH_FILE);
    EXPECT_EQ(HM_exec_file(kPort, 'A', text.data()), ZELO_NO_PROGRAM);
    EXPECT_EQ(HM_upload_mode(kPort, 'A'), ZELO_OK);
}

TEST_F(Commands, SettingsReachTheTerminal) {
    startLine({terminal('A'), terminal('B')});
    EXPECT_EQ(HM_term_tab(kPort, 'A', "9600"), ZELO_OK);
    EXPECT_EQ(HM_comm_tab(kPort, 'A', "918N0000"), ZELO_OK);
    EXPECT_EQ(HM_dev_tab(kPort, 'A', "DEV1"), ZELO_OK);
    EXPECT_EQ(HM_bar_tab(kPort, 'A', "BAR1"), ZELO_OK);
    EXPECT_EQ(HM_date_time(kPort, 'A', "20261208174500"), ZELO_OK);
    EXPECT_EQ(HM_password(kPort, 'A', "SECRET"), ZELO_OK);
    EXPECT_EQ(HM_keypad(kPort, 'A', 2), ZELO_OK);
    EXPECT_EQ(HM_buzzer(kPort, 'A', 5), ZELO_OK);
    EXPECT_EQ(HM_system_font(kPort, 'A', "1"), ZELO_OK);
    EXPECT_EQ(HM_exe_size(kPort, 'A', 96), ZELO_OK);

    EXPECT_EQ(stateOf("terminalTable"), "\"9600\"");
    EXPECT_EQ(stateOf("commTable"), "\"918N0000\"");
    EXPECT_EQ(stateOf("deviceTable"), "\"DEV1\"");
    EXPECT_EQ(stateOf("barcodeTable"), "\"BAR1\"");
    EXPECT_EQ(stateOf("clock"), "\"20261208174500\"");
    EXPECT_EQ(stateOf("passwordSet"), "true");
    EXPECT_EQ(stateOf("keypad"), "\"2\"");
    EXPECT_EQ(stateOf("buzzerVolume"), "\"5\"");
    EXPECT_EQ(stateOf("programAreaKb"), "96");
    EXPECT_EQ(stateOf("terminalTable", 1), "\"\"") << "only A was addressed";
}

TEST_F(Commands, ControlCommandsAndPrograms) {
    startLine({terminal('A')});
    WriteAll(ramFolder('A') / "MENU.EXE", "program");
    WriteAll(ramFolder('A') / "OLD.DAT", "old");

    EXPECT_EQ(HM_autoboot(kPort, 'A', "MENU.EXE"), ZELO_OK);
    EXPECT_EQ(stateOf("autoBootProgram"), "\"MENU.EXE\"");
    EXPECT_EQ(HM_autoboot(kPort, 'A', "NONE.EXE"), ZELO_ILLEGAL_FILE_NAME);
    EXPECT_EQ(HM_run(kPort, 'A', "MENU.EXE"), ZELO_OK);
    EXPECT_EQ(HM_exec(kPort, 'A', "NONE.EXE"), ZELO_NO_SUCH_FILE);
    EXPECT_EQ(HM_delete(kPort, 'A', "OLD.DAT"), ZELO_OK);
    EXPECT_FALSE(std::filesystem::exists(ramFolder('A') / "OLD.DAT"));
    EXPECT_EQ(HM_delete(kPort, 'A', "OLD.DAT"), ZELO_NO_SUCH_FILE);

    EXPECT_EQ(HM_send_data(kPort, 'A', "HELLO\x01"), ZELO_OK);
    std::vector<char> reply(ZELO_REPLY_SIZE, 0);
    EXPECT_EQ(HM_sendback(kPort, 'A', "XYZW", reply.data()), ZELO_OK);
    EXPECT_STREQ(reply.data(), "XYZ");

    EXPECT_EQ(HM_warm_start(kPort, 'A'), ZELO_OK);
    EXPECT_EQ(HM_ups(kPort, 'A'), ZELO_OK);
    EXPECT_EQ(HM_cold_start(kPort, 'A'), ZELO_OK);
    EXPECT_EQ(stateOf("warmStarts"), "1");
    EXPECT_EQ(stateOf("coldStarts"), "1");
    EXPECT_EQ(stateOf("upsOff"), "true");
    EXPECT_EQ(HM_kermit(kPort, 'A'), ZELO_OK);
    EXPECT_EQ(stateOf("kermitMode"), "true");
}

TEST_F(Commands, AddressChangeAndPowerSavingWrap) {
    startLine({terminal('A'), terminal('B')});
    HM_set_power_saving_status(1);
    std::vector<char> text(ZELO_REPLY_SIZE, 0);
    EXPECT_EQ(HM_terminal_id(kPort, 'A', text.data()), ZELO_OK);
    EXPECT_EQ(stateOf("powerSaving"), "false") << "the id query leaves it off";
    EXPECT_EQ(HM_set_address(kPort, 'A', 'C'), ZELO_OK);
    EXPECT_EQ(stateOf("address"), "\"C\"");
    EXPECT_EQ(stateOf("powerSaving"), "true") << "switched on again at the new address";
    EXPECT_EQ(HM_set_address(kPort, 'C', 'B'), ZELO_ILLEGAL_COMMAND) << "B is taken";
    HM_set_power_saving_status(0);
    EXPECT_EQ(HM_terminal_id(kPort, 'C', text.data()), ZELO_OK);
    EXPECT_EQ(HM_terminal_id(kPort, 'A', text.data()), ZELO_TIMEOUT) << "nobody at A now";
}

TEST_F(Commands, PollingHandsOverEachRecordOnce) {
    TerminalConfig withRecords = terminal('A');
    withRecords.recordsFile = folder_ / "records.txt";
    WriteAll(withRecords.recordsFile, "REC-1\r\nREC-2\nREC-3\r\n");
    startLine({withRecords, terminal('B')});

    std::vector<std::string> received;
    std::vector<char> record(ZELO_POLL_RECORD_SIZE, 0);
    int32_t length = 0;
    int32_t result = ZELO_OK;
    for (int i = 0; i < 10 && (result = HM_poll(kPort, 'A', record.data(), &length)) == ZELO_OK;
         ++i) {
        received.emplace_back(record.data());
        EXPECT_EQ(length, static_cast<int32_t>(received.back().size()));
    }
    EXPECT_EQ(result, ZELO_NO_DATA);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].substr(0, 5), "REC-1");
    EXPECT_EQ(received[2].substr(0, 5), "REC-3");
    EXPECT_EQ(stateOf("pollRecordsDelivered"), "3");
    EXPECT_EQ(HM_poll(kPort, 'B', record.data(), &length), ZELO_NO_DATA);
}

TEST_F(Commands, ModemInitDialAndHangUp) {
    ModemConfig modem;
    modem.dialResults = {"BUSY", "CONNECT"};
    startLine({terminal('A')}, {}, modem, /*open=*/false);
    // The port is opened for the modem's command mode first.
    ASSERT_EQ(HM_OpenCommPort(kPort, kBaudIndex57600, 8, 0, 1), 1);
    EXPECT_EQ(HC_modem_Init(kPort, "ATZ", 1000), 0);
    std::vector<char> message(ZELO_MODEM_REPLY_SIZE, 0);
    EXPECT_EQ(HC_modem_return_message(message.data()), 4);
    EXPECT_STREQ(message.data(), "OK\n");

    EXPECT_EQ(HC_modem_Dial(kPort, "ATDT5551234", 5000), 7) << "busy";
    EXPECT_EQ(HC_modem_Dial(kPort, "ATDT5551234", 5000), 1) << "connected";
    std::vector<char> text(ZELO_REPLY_SIZE, 0);
    EXPECT_EQ(HM_terminal_id(kPort, 'A', text.data()), ZELO_OK) << "frames pass once connected";

    HM_stop_communication();  // as the program does before every hang-up
    EXPECT_EQ(HC_modem_Hangup(kPort, "+++ATH", 3000), 0);
    EXPECT_EQ(HC_modem_Dial(kPort, "ATDT5551234", 5000), 1) << "the line can be dialled again";
}

}  // namespace
}  // namespace termsim::end_to_end
