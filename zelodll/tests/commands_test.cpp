// Control and settings commands: the whole family as one table (what goes
// on the line around the power-saving wrap, how each reads the link
// results), then what some commands do of their own.
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library_fixture.hpp"
#include "terminal_script.hpp"

using fake_pendra::Fn;
using terminal_script::callSequence;

namespace {

char text[ZELO_REPLY_SIZE];
char record[ZELO_POLL_RECORD_SIZE];
int32_t length;

struct CommandRow {
    std::function<int32_t()> call;
    Fn request;        // the link call that carries the command
    int16_t accepted;  // a link result it counts as success
    // The line with power saving in use and a terminal that accepts.
    const char* line;
    // Link results of its own, and one it does not know (5 gives 3 and 130
    // gives 4 for all).
    std::vector<std::pair<int16_t, int32_t>> outcomes;
};

// clang-format off
const std::vector<CommandRow>& family() {
    static const std::vector<CommandRow> rows = {
        {[] { return HM_warm_start(1, 'A'); }, Fn::ESC_A, 4, "A:DBG(7) A:ESC_A A:DBG(8)", {{1, 5}}},
        {[] { return HM_cold_start(1, 'A'); }, Fn::ESC_H, 4, "A:DBG(7) A:ESC_H", {{6, 5}}},
        {[] { return HM_kermit(1, 'A'); }, Fn::DBG, 4, "A:DBG(7) A:DBG(k)", {{1, 0}, {6, 5}}},
        {[] { return HM_poll(1, 'A', record, &length); }, Fn::POLL, 1, "A:POLL A:ACK",
         {{4, 0}, {2, 7}, {3, 7}, {6, 5}}},
        {[] { return HM_exec(1, 'A', "P.EXE"); }, Fn::ESC_X, 6, "A:DBG(7) A:ESC_X A:DBG(8)", {{7, 48}, {4, 5}}},
        {[] { return HM_run(1, 'A', "P.EXE"); }, Fn::ESC_X, 6, "A:DBG(7) A:ESC_X A:DBG(8)", {{7, 48}, {4, 5}}},
        {[] { return HM_delete(1, 'A', "F"); }, Fn::ESC_E, 6, "A:DBG(7) A:ESC_E A:DBG(8)", {{7, 48}, {1, 5}}},
        {[] { return HM_send_data(1, 'A', "D"); }, Fn::ESC_0, 1, "A:DBG(7) A:ESC_0 A:DBG(8)", {{4, 0}, {6, 5}}},
        {[] { return HM_send_data1(1, 'A', "D", 0); }, Fn::ESC_0, 4, "A:DBG(7) A:ESC_0 A:DBG(8)", {{1, 0}, {6, 5}}},
        {[] { return HM_sendback(1, 'A', "XYZW", text); }, Fn::DBG, 1, "A:DBG(7) A:DBG(9XYZ) A:DBG(8)",
         {{4, 0}, {6, 5}}},
        {[] { return HM_autoboot(1, 'A', "P.EXE"); }, Fn::ESC_O, 6, "A:DBG(7) A:ESC_O A:DBG(8)",
         {{4, 0}, {7, 49}, {1, 5}}},
        {[] { return HM_autoboot_rom(1, 'A', "MENU.EXE"); }, Fn::DBG, 6,
         "A:DBG(7) A:DBG(OMENU.EXE/ROM) A:DBG(8)", {{1, 0}, {4, 0}, {7, 49}, {8, 5}}},
        {[] { return HM_set_address(1, 'A', 'B'); }, Fn::ESC_5, 6, "A:DBG(7) A:ESC_5 B:DBG(8)", {{7, 2}, {4, 5}}},
        {[] { return HM_exec_file(1, 'A', text); }, Fn::ESC_I, 1, "A:DBG(7) A:ESC_I", {{9, 53}, {4, 5}}},
        {[] { return HM_ups(1, 'A'); }, Fn::DBG, 6, "A:DBG(F)", {{1, 0}, {4, 0}, {7, 5}}},
        {[] { return HM_keypad(1, 'A', 'K'); }, Fn::ESC_K, 4, "A:DBG(7) A:ESC_K A:DBG(8)",
         {{1, 0}, {6, 0}, {7, 2}, {9, 5}}},
        {[] { return HM_buzzer(1, 'A', 1); }, Fn::ESC_N, 4, "A:DBG(7) A:ESC_N A:DBG(8)", {{1, 5}}},
        {[] { return HM_term_tab(1, 'A', "9600"); }, Fn::DBG, 1, "A:DBG(7) A:DBG(T9600)",
         {{4, 0}, {6, 0}, {7, 2}, {9, 5}}},
        {[] { return HM_comm_tab(1, 'A', "x"); }, Fn::DBG, 6, "A:DBG(7) A:DBG(Cx)", {{7, 2}, {9, 5}}},
        {[] { return HM_dev_tab(1, 'A', "x"); }, Fn::DBG, 6, "A:DBG(7) A:DBG(Vx)", {{7, 2}, {9, 5}}},
        {[] { return HM_bar_tab(1, 'A', "x"); }, Fn::DBG, 6, "A:DBG(7) A:DBG(Bx)", {{7, 2}, {9, 5}}},
        {[] { return HM_date_time(1, 'A', "x"); }, Fn::DBG, 4, "A:DBG(7) A:DBG(Mx)", {{7, 2}, {9, 5}}},
        {[] { return HM_password(1, 'A', "x"); }, Fn::DBG, 4, "A:DBG(7) A:DBG(Px)", {{7, 2}, {9, 5}}},
    };
    return rows;
}
// clang-format on

}  // namespace

TEST_F(LibraryTest, EveryCommandPutsItsRequestWhereThePowerSavingWrapSays) {
    for (const CommandRow& row : family()) {
        fake_pendra::reset();
        terminal_script::useSwitchingTerminal();
        fake_pendra::pushResults(row.request, {row.accepted});
        EXPECT_EQ(row.call(), ZELO_OK) << row.line;
        EXPECT_EQ(callSequence(), row.line);
    }
}

TEST_F(LibraryTest, EveryCommandTranslatesTheLinkResultsItKnows) {
    for (const CommandRow& row : family()) {
        auto outcomes = row.outcomes;
        outcomes.insert(outcomes.end(), {{row.accepted, 0}, {5, 3}, {130, 4}});
        for (auto [linkResult, code] : outcomes) {
            fake_pendra::reset();
            fake_pendra::pushResults(row.request, {linkResult});
            EXPECT_EQ(row.call(), code) << row.line << " with link result " << linkResult;
        }
    }
}

TEST_F(LibraryTest, ACommandIsNotSentWhilePowerSavingStaysOn) {
    HM_set_power_saving_status(1);
    fake_pendra::setDefault(Fn::DBG, reply(5));
    EXPECT_EQ(HM_set_address(1, 'A', 'B'), ZELO_POWER_SAVING_ON);
    EXPECT_EQ(callSequence(), "A:DBG(7) A:DBG(7) A:DBG(7) A:DBG(7) A:DBG(7)");
}

TEST_F(LibraryTest, RequestsOfTheirOwnShape) {
    const std::pair<int32_t, int16_t> keypad[] = {{2, '2'}, {0, '0'}, {32, 32}, {65, 65}};
    for (const auto& code : keypad) HM_keypad(1, 'A', code.first);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_K).at(i).arg1, keypad[i].second);

    fake_pendra::pushResults(Fn::ESC_0, {1, 1});
    EXPECT_EQ(HM_send_data1(1, 'A', "ABCDEF", 99), ZELO_OK);
    EXPECT_EQ(HM_send_data(1, 'A', "A\x01\\"), ZELO_OK);
    auto sent = fake_pendra::callsOf(Fn::ESC_0);
    EXPECT_EQ(sent.at(0).request, "ABCD");
    EXPECT_EQ(sent.at(1).request, "A\\\x81\\\\") << "the escaped form, and its length";

    // The font reply's third byte tells how the terminal took it.
    const std::pair<char, int32_t> fontAnswers[] = {{0, 0}, {1, 2}, {'0', 0}, {'1', 2}, {'7', 4}};
    for (auto [byte, code] : fontAnswers) {
        fake_pendra::push(Fn::DBG, reply(1, std::string("\x01\x02", 2) + byte, 3));
        EXPECT_EQ(HM_system_font(1, 'A', "16"), code) << int(byte);
    }
}

TEST_F(LibraryTest, PollHandsOnARecordThatAlwaysEndsWithinItsBuffer) {
    auto out = std::make_unique<char[]>(ZELO_POLL_RECORD_SIZE);  // exact, for AddressSanitizer
    int32_t size = -1;
    fake_pendra::push(Fn::POLL, reply(2, "REC1\r\n"));  // a record, and more to come
    EXPECT_EQ(HM_poll(1, 'C', out.get(), &size), ZELO_NO_DATA);
    EXPECT_STREQ(out.get(), "REC1\r\n");
    EXPECT_EQ(size, 6);
    EXPECT_EQ(HM_get_return_string_length(0), 6);
    EXPECT_EQ(callSequence(), "C:POLL C:ACK");

    fake_pendra::push(Fn::POLL, reply(1, std::string(128, 'R'), 200));
    EXPECT_EQ(HM_poll(1, 'C', out.get(), &size), ZELO_OK);
    EXPECT_EQ(std::string(out.get()), std::string(127, 'R'));
    EXPECT_EQ(size, 200) << "the length stays the terminal's";
}

TEST_F(LibraryTest, TextsTooLongForTheRequestBufferAreRefusedBeforeAnythingIsSent) {
    const std::pair<std::function<int32_t(const char*)>, std::size_t> limits[] = {
        {[](const char* t) { return HM_exec(1, 'A', t); }, 255},
        {[](const char* t) { return HM_autoboot(1, 'A', t); }, 127},
        {[](const char* t) { return HM_autoboot_rom(1, 'A', t); }, 122},
        {[](const char* t) { return HM_term_tab(1, 'A', t); }, 126},
        {[](const char* t) { return HM_sendback(1, 'A', t, text); }, 126},
        {[](const char* t) { return HM_send_data(1, 'A', t); }, 127},
    };
    for (const auto& [call, longest] : limits) {
        fake_pendra::reset();
        terminal_script::useSwitchingTerminal();
        EXPECT_EQ(call(std::string(longest + 1, 'n').c_str()), ZELO_UNKNOWN_RESPONSE) << longest;
        EXPECT_TRUE(fake_pendra::calls().empty()) << longest;
        call(std::string(longest, 'n').c_str());
        EXPECT_FALSE(fake_pendra::calls().empty()) << longest << " still fit";
    }
    // The escaped form is what must fit: 64 control characters take 128.
    EXPECT_EQ(HM_send_data1(1, 'A', std::string(64, '\x01').c_str(), 0), ZELO_UNKNOWN_RESPONSE);
}
