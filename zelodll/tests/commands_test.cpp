// Control and settings commands through the fake link layer: first the
// whole family as a table (what goes on the line, how each link result
// reads), then the commands with something of their own.
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library_fixture.hpp"
#include "terminal_script.hpp"

using fake_pendra::Fn;
using terminal_script::callSequence;
using terminal_script::textReply;

namespace {

struct CommandRow {
    const char* name;
    std::function<int32_t()> call;
    Fn request;        // the link call that carries the command
    int16_t accepted;  // a link result the command counts as success
    // The calls on the line with power saving in use and an accepting terminal.
    const char* line;
    // Link results with a meaning of their own, and one the command does not know.
    std::vector<std::pair<int16_t, int32_t>> outcomes;
};

std::vector<CommandRow> family() {
    static char record[ZELO_POLL_RECORD_SIZE];
    static int32_t length = 0;
    static char text[ZELO_REPLY_SIZE];
    return {
        {"warm_start",
         [] { return HM_warm_start(1, 'A'); },
         Fn::ESC_A,
         4,
         "A:DBG(7) A:ESC_A A:DBG(8)",
         {{1, 5}}},
        {"cold_start",
         [] { return HM_cold_start(1, 'A'); },
         Fn::ESC_H,
         4,
         "A:DBG(7) A:ESC_H",
         {{6, 5}}},
        {"kermit",
         [] { return HM_kermit(1, 'A'); },
         Fn::DBG,
         4,
         "A:DBG(7) A:DBG(k)",
         {{1, 0}, {6, 5}}},
        {"poll",
         [] { return HM_poll(1, 'A', record, &length); },
         Fn::POLL,
         1,
         "A:POLL A:ACK",
         {{4, 0}, {2, 7}, {3, 7}, {6, 5}}},
        {"exec",
         [] { return HM_exec(1, 'A', "P.EXE"); },
         Fn::ESC_X,
         6,
         "A:DBG(7) A:ESC_X A:DBG(8)",
         {{7, 48}, {4, 5}}},
        {"run",
         [] { return HM_run(1, 'A', "P.EXE"); },
         Fn::ESC_X,
         6,
         "A:DBG(7) A:ESC_X A:DBG(8)",
         {{7, 48}, {4, 5}}},
        {"delete",
         [] { return HM_delete(1, 'A', "F.DAT"); },
         Fn::ESC_E,
         6,
         "A:DBG(7) A:ESC_E A:DBG(8)",
         {{7, 48}, {1, 5}}},
        {"send_data",
         [] { return HM_send_data(1, 'A', "DATA"); },
         Fn::ESC_0,
         1,
         "A:DBG(7) A:ESC_0 A:DBG(8)",
         {{4, 0}, {6, 5}}},
        {"send_data1",
         [] { return HM_send_data1(1, 'A', "DATA", 0); },
         Fn::ESC_0,
         4,
         "A:DBG(7) A:ESC_0 A:DBG(8)",
         {{1, 0}, {6, 5}}},
        {"sendback",
         [] { return HM_sendback(1, 'A', "XYZ", text); },
         Fn::DBG,
         1,
         "A:DBG(7) A:DBG(9XYZ) A:DBG(8)",
         {{4, 0}, {6, 5}}},
        {"autoboot",
         [] { return HM_autoboot(1, 'A', "P.EXE"); },
         Fn::ESC_O,
         6,
         "A:DBG(7) A:ESC_O A:DBG(8)",
         {{4, 0}, {7, 49}, {1, 5}}},
        {"autoboot_rom",
         [] { return HM_autoboot_rom(1, 'A', "P.EXE"); },
         Fn::DBG,
         6,
         "A:DBG(7) A:DBG(OP.EXE/ROM) A:DBG(8)",
         {{1, 0}, {4, 0}, {7, 49}, {8, 5}}},
        {"set_address",
         [] { return HM_set_address(1, 'A', 'B'); },
         Fn::ESC_5,
         6,
         "A:DBG(7) A:ESC_5 B:DBG(8)",
         {{7, 2}, {4, 5}}},
        {"exec_file",
         [] { return HM_exec_file(1, 'A', text); },
         Fn::ESC_I,
         1,
         "A:DBG(7) A:ESC_I",
         {{9, 53}, {4, 5}}},
        {"ups", [] { return HM_ups(1, 'A'); }, Fn::DBG, 6, "A:DBG(F)", {{1, 0}, {4, 0}, {7, 5}}},
        {"keypad",
         [] { return HM_keypad(1, 'A', 'K'); },
         Fn::ESC_K,
         4,
         "A:DBG(7) A:ESC_K A:DBG(8)",
         {{1, 0}, {6, 0}, {7, 2}, {9, 5}}},
        {"buzzer",
         [] { return HM_buzzer(1, 'A', 3); },
         Fn::ESC_N,
         4,
         "A:DBG(7) A:ESC_N A:DBG(8)",
         {{1, 5}}},
        {"term_tab",
         [] { return HM_term_tab(1, 'A', "9600"); },
         Fn::DBG,
         1,
         "A:DBG(7) A:DBG(T9600)",
         {{4, 0}, {6, 0}, {7, 2}, {9, 5}}},
        {"comm_tab",
         [] { return HM_comm_tab(1, 'A', "x"); },
         Fn::DBG,
         6,
         "A:DBG(7) A:DBG(Cx)",
         {{7, 2}, {9, 5}}},
        {"dev_tab",
         [] { return HM_dev_tab(1, 'A', "x"); },
         Fn::DBG,
         6,
         "A:DBG(7) A:DBG(Vx)",
         {{7, 2}, {9, 5}}},
        {"bar_tab",
         [] { return HM_bar_tab(1, 'A', "x"); },
         Fn::DBG,
         6,
         "A:DBG(7) A:DBG(Bx)",
         {{7, 2}, {9, 5}}},
        {"date_time",
         [] { return HM_date_time(1, 'A', "20261208161500"); },
         Fn::DBG,
         4,
         "A:DBG(7) A:DBG(M20261208161500)",
         {{7, 2}, {9, 5}}},
        {"password",
         [] { return HM_password(1, 'A', "x"); },
         Fn::DBG,
         4,
         "A:DBG(7) A:DBG(Px)",
         {{7, 2}, {9, 5}}},
    };
}

}  // namespace

TEST_F(LibraryTest, EveryCommandTranslatesTheLinkResultsItKnows) {
    for (const CommandRow& row : family()) {
        auto outcomes = row.outcomes;
        outcomes.push_back({row.accepted, ZELO_OK});
        outcomes.push_back({5, ZELO_NAK});
        outcomes.push_back({130, ZELO_TIMEOUT});
        for (auto [linkResult, code] : outcomes) {
            fake_pendra::reset();
            fake_pendra::pushResults(row.request, {linkResult});
            EXPECT_EQ(row.call(), code) << row.name << " with link result " << linkResult;
        }
    }
}

TEST_F(LibraryTest, EveryCommandPutsItsRequestWhereThePowerSavingWrapSays) {
    for (const CommandRow& row : family()) {
        fake_pendra::reset();
        terminal_script::useSwitchingTerminal();
        fake_pendra::pushResults(row.request, {row.accepted});
        EXPECT_EQ(row.call(), ZELO_OK) << row.name;
        EXPECT_EQ(callSequence(), row.line) << row.name;
    }
}

TEST_F(LibraryTest, ACommandIsNotSentWhilePowerSavingStaysOn) {
    HM_set_power_saving_status(1);
    fake_pendra::setDefault(Fn::DBG, reply(5));
    EXPECT_EQ(HM_term_tab(1, 'A', "9600"), ZELO_POWER_SAVING_ON);
    EXPECT_EQ(HM_set_address(1, 'A', 'B'), ZELO_POWER_SAVING_ON);
    EXPECT_EQ(fake_pendra::count(Fn::ESC_5), 0);
    for (const auto& call : fake_pendra::callsOf(Fn::DBG)) EXPECT_EQ(call.request, "7");
}

// ---- Requests with something of their own -----------------------------------

TEST_F(LibraryTest, KeypadRaisesSmallCodesToTheirDigitCharacter) {
    const std::pair<int32_t, int16_t> codes[] = {{2, '2'}, {0, '0'}, {31, 79}, {32, 32}, {65, 65}};
    for (auto [code, sent] : codes) {
        fake_pendra::reset();
        HM_keypad(1, 'A', code);
        EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_K).at(0).arg1, sent) << code;
    }
}

TEST_F(LibraryTest, SetAddressTurnsPowerSavingOnAtTheNewAddressEvenWhenRefused) {
    terminal_script::useSwitchingTerminal();
    fake_pendra::pushResults(Fn::ESC_5, {7});
    EXPECT_EQ(HM_set_address(1, 'A', 'B'), ZELO_ILLEGAL_COMMAND);
    EXPECT_EQ(callSequence(), "A:DBG(7) A:ESC_5 B:DBG(8)");
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_5).at(0).arg1, 'B');
}

TEST_F(LibraryTest, SettingsWaitForTheTerminalBeforeReturning) {
    using Clock = std::chrono::steady_clock;
    fake_pendra::pushResults(Fn::DBG, {1});
    auto start = Clock::now();
    EXPECT_EQ(HM_term_tab(1, 'A', "9600"), ZELO_OK);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
    auto sent = fake_pendra::callsOf(Fn::DBG).at(0);
    EXPECT_EQ(sent.request, "T9600");
    EXPECT_EQ(sent.requestLength, 5);

    // A cold start that the terminal answers oddly waits as long.
    fake_pendra::pushResults(Fn::ESC_H, {6});
    start = Clock::now();
    EXPECT_EQ(HM_cold_start(1, 'A'), ZELO_UNKNOWN_RESPONSE);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
}

TEST_F(LibraryTest, SendDataSendsTheEscapedTextOrExactlyFourCharactersOfIt) {
    fake_pendra::pushResults(Fn::ESC_0, {1, 1});
    EXPECT_EQ(HM_send_data1(1, 'A', "ABCDEF", 99), ZELO_OK);
    EXPECT_EQ(HM_send_data(1, 'A', "A\x01\\"), ZELO_OK);
    auto sent = fake_pendra::callsOf(Fn::ESC_0);
    EXPECT_EQ(sent.at(0).request, "ABCD");
    EXPECT_EQ(sent.at(0).requestLength, 4);
    EXPECT_EQ(sent.at(1).request, "A\\\x81\\\\");
    EXPECT_EQ(sent.at(1).requestLength, 5);
}

TEST_F(LibraryTest, SendBackSendsNineAndThreeCharactersAndHandsTheReplyBack) {
    fake_pendra::push(Fn::DBG, textReply(1, "ANSWER"));
    char answer[ZELO_REPLY_SIZE] = {};
    EXPECT_EQ(HM_sendback(1, 'A', "XYZW", answer), ZELO_OK);
    auto sent = fake_pendra::callsOf(Fn::DBG).at(0);
    EXPECT_EQ(sent.request, "9XYZ");
    EXPECT_EQ(sent.requestLength, 4);
    EXPECT_STREQ(answer, "ANSWER");
    EXPECT_EQ(HM_get_return_string_length(0), 6);
}

TEST_F(LibraryTest, RunningProgramAsksWithAnEmptyRequestAndHandsTheNameBack) {
    fake_pendra::push(Fn::ESC_I, reply(1, "MENU.EXE"));
    char name[ZELO_REPLY_SIZE] = {};
    EXPECT_EQ(HM_exec_file(1, 'A', name), ZELO_OK);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_I).at(0).requestLength, 0);
    EXPECT_STREQ(name, "MENU.EXE");
    EXPECT_EQ(HM_get_return_string_length(0), 8);
}

TEST_F(LibraryTest, BuzzerAutobootAndFontRequests) {
    fake_pendra::pushResults(Fn::ESC_N, {4, 4});
    HM_buzzer(1, 'A', 1);
    HM_buzzer(1, 'A', 25);
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_N).at(0).arg1, '1');
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_N).at(1).arg1, '2') << "the first digit only";

    fake_pendra::pushResults(Fn::DBG, {6});
    EXPECT_EQ(HM_autoboot_rom(1, 'A', "MENU.EXE"), ZELO_OK);
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).back().request, "OMENU.EXE/ROM");

    // The font reply's third byte tells how the terminal took it.
    const std::pair<char, int32_t> fontAnswers[] = {{0, 0}, {1, 2}, {'0', 4}};
    for (auto [byte, code] : fontAnswers) {
        fake_pendra::push(Fn::DBG, reply(1, std::string("\x01\x02", 2) + byte, 3));
        EXPECT_EQ(HM_system_font(1, 'A', "16"), code) << int(byte);
        EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).back().request, "f16");
    }
}

TEST_F(LibraryTest, PollHandsOnTheRecordEvenWhenMoreIsToCome) {
    fake_pendra::push(Fn::POLL, reply(2, "REC1\r\n"));
    char record[ZELO_POLL_RECORD_SIZE];
    std::memset(record, 'x', sizeof record);
    int32_t length = -1;
    EXPECT_EQ(HM_poll(1, 'C', record, &length), ZELO_NO_DATA);
    EXPECT_STREQ(record, "REC1\r\n");
    EXPECT_EQ(length, 6);
    EXPECT_EQ(HM_get_return_string_length(0), 6);
    auto poll = fake_pendra::callsOf(Fn::POLL).at(0);
    EXPECT_EQ(poll.requestLength, 4);
    EXPECT_EQ(poll.request, std::string(4, '\0'));
    EXPECT_EQ(callSequence(), "C:POLL C:ACK");

    // No data: nothing is acknowledged and the record is left empty.
    fake_pendra::reset();
    std::memset(record, 'x', sizeof record);
    length = -1;
    fake_pendra::pushResults(Fn::POLL, {3});
    EXPECT_EQ(HM_poll(1, 'C', record, &length), ZELO_NO_DATA);
    EXPECT_EQ(std::string(record, 4), std::string(4, '\0'));
    EXPECT_EQ(length, -1);
    EXPECT_EQ(fake_pendra::count(Fn::ACK), 0);
}

TEST_F(LibraryTest, PolledRecordAlwaysEndsWithinItsBuffer) {
    auto record = std::make_unique<char[]>(ZELO_POLL_RECORD_SIZE);  // exact, for AddressSanitizer
    fake_pendra::push(Fn::POLL, reply(1, std::string(128, 'R'), 200));
    int32_t length = 0;
    EXPECT_EQ(HM_poll(1, 'A', record.get(), &length), ZELO_OK);
    EXPECT_EQ(std::string(record.get()), std::string(127, 'R'));
    EXPECT_EQ(length, 200) << "the length is the terminal's";
}

TEST_F(LibraryTest, TextsTooLongForTheRequestBufferAreRefusedBeforeAnythingIsSent) {
    terminal_script::useSwitchingTerminal();
    struct Limit {
        const char* name;
        std::function<int32_t(const std::string&)> call;
        std::size_t longest;  // characters that still fit
    };
    char answer[ZELO_REPLY_SIZE];
    const Limit limits[] = {
        {"exec", [](auto& t) { return HM_exec(1, 'A', t.c_str()); }, 255},
        {"delete", [](auto& t) { return HM_delete(1, 'A', t.c_str()); }, 255},
        {"autoboot", [](auto& t) { return HM_autoboot(1, 'A', t.c_str()); }, 127},
        {"autoboot_rom", [](auto& t) { return HM_autoboot_rom(1, 'A', t.c_str()); }, 122},
        {"term_tab", [](auto& t) { return HM_term_tab(1, 'A', t.c_str()); }, 126},
        {"system_font", [](auto& t) { return HM_system_font(1, 'A', t.c_str()); }, 126},
        {"sendback", [&](auto& t) { return HM_sendback(1, 'A', t.c_str(), answer); }, 126},
        {"send_data", [](auto& t) { return HM_send_data(1, 'A', t.c_str()); }, 127},
    };
    for (const Limit& limit : limits) {
        fake_pendra::reset();
        terminal_script::useSwitchingTerminal();
        EXPECT_EQ(limit.call(std::string(limit.longest + 1, 'n')), ZELO_UNKNOWN_RESPONSE)
            << limit.name;
        EXPECT_TRUE(fake_pendra::calls().empty()) << limit.name;
        limit.call(std::string(limit.longest, 'n'));
        EXPECT_FALSE(fake_pendra::calls().empty()) << limit.name << " at its limit is sent";
    }

    // The escaped form is what must fit: 64 control characters take 128.
    fake_pendra::reset();
    EXPECT_EQ(HM_send_data(1, 'A', std::string(64, '\x01').c_str()), ZELO_UNKNOWN_RESPONSE);
    EXPECT_EQ(HM_send_data1(1, 'A', std::string(64, '\x01').c_str(), 0), ZELO_UNKNOWN_RESPONSE);
    EXPECT_TRUE(fake_pendra::calls().empty());
}
