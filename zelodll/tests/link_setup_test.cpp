// Opening and closing the link, settings, slots, delay and the power-saving
// switches and wrap.
#include <chrono>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "library_fixture.hpp"
#include "power_saving.hpp"

using fake_pendra::Fn;

namespace {

using Clock = std::chrono::steady_clock;

long long millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace

class OpenCommPortTest : public LibraryTest {
protected:
    fake_pendra::Call openAndGetSetup(int32_t baud, int32_t parity, int32_t stop) {
        HM_OpenCommPort(3, baud, 8, parity, stop);
        auto setups = fake_pendra::callsOf(Fn::SetupEx);
        EXPECT_FALSE(setups.empty());
        return setups.empty() ? fake_pendra::Call{} : setups.back();
    }
};

TEST_F(OpenCommPortTest, BaudIndexBecomesTheLinkSpeedCharacter) {
    const std::pair<int32_t, char> cases[] = {{0, '0'}, {1, '2'},  {2, '3'},  {8, '9'},
                                              {9, 'A'}, {-1, 'A'}, {100, 'A'}};
    for (auto [index, expected] : cases) {
        EXPECT_EQ(openAndGetSetup(index, 0, 1).arg1, expected) << "baud index " << index;
    }
}

TEST_F(OpenCommPortTest, ParityAndStopBitsCharactersAndArgumentOrder) {
    auto setup = openAndGetSetup(5, 2, 2);
    EXPECT_EQ(setup.port, 3);
    EXPECT_EQ(setup.arg1, '6');  // baud
    EXPECT_EQ(setup.arg2, '2');  // stop bits come before parity
    EXPECT_EQ(setup.arg3, 'E');

    EXPECT_EQ(openAndGetSetup(0, 0, 1).arg3, 'N');
    EXPECT_EQ(openAndGetSetup(0, 1, 1).arg3, 'O');
    EXPECT_EQ(openAndGetSetup(0, 3, 1).arg3, '0');
    EXPECT_EQ(openAndGetSetup(0, -1, 1).arg3, '0');
    EXPECT_EQ(openAndGetSetup(0, 0, 0).arg2, '0');
    EXPECT_EQ(openAndGetSetup(0, 0, 3).arg2, '0');
}

TEST_F(OpenCommPortTest, ReturnsOneOnlyWhenSetupAndConnectSucceed) {
    EXPECT_EQ(HM_OpenCommPort(1, 5, 8, 0, 1), 1);

    fake_pendra::pushResults(Fn::SetupEx, {0});
    EXPECT_EQ(HM_OpenCommPort(1, 5, 8, 0, 1), 0);
    EXPECT_EQ(fake_pendra::count(Fn::Connect), 1) << "a failed set-up does not connect";

    fake_pendra::pushResults(Fn::Connect, {0});
    EXPECT_EQ(HM_OpenCommPort(1, 5, 8, 0, 1), 0);
}

TEST_F(OpenCommPortTest, CreatesTheLinkOnceAndPassesItsHandle) {
    fake_pendra::pushResults(Fn::Create, {42});
    HM_OpenCommPort(1, 5, 8, 0, 1);
    HM_OpenCommPort(1, 5, 8, 0, 1);
    EXPECT_EQ(fake_pendra::count(Fn::Create), 1);
    for (const auto& setup : fake_pendra::callsOf(Fn::SetupEx)) EXPECT_EQ(setup.handle, 42u);
    for (const auto& connect : fake_pendra::callsOf(Fn::Connect)) EXPECT_EQ(connect.handle, 42u);
}

TEST_F(OpenCommPortTest, FailedCreationUsesHandleZeroAndIsRetriedNextTime) {
    fake_pendra::pushResults(Fn::Create, {0, 7});
    fake_pendra::pushResults(Fn::SetupEx, {0});
    EXPECT_EQ(HM_OpenCommPort(1, 5, 8, 0, 1), 0);
    EXPECT_EQ(fake_pendra::callsOf(Fn::SetupEx).at(0).handle, 0u);

    EXPECT_EQ(HM_OpenCommPort(1, 5, 8, 0, 1), 1);
    EXPECT_EQ(fake_pendra::count(Fn::Create), 2);
    EXPECT_EQ(fake_pendra::callsOf(Fn::SetupEx).at(1).handle, 7u);
}

TEST_F(OpenCommPortTest, CloseDestroysOnceAndTheNextOpenCreatesAgain) {
    fake_pendra::pushResults(Fn::Create, {5, 6});
    HM_OpenCommPort(1, 5, 8, 0, 1);
    HM_CloseCommPort(1);
    HM_CloseCommPort(1);
    ASSERT_EQ(fake_pendra::count(Fn::Destroy), 1);
    EXPECT_EQ(fake_pendra::callsOf(Fn::Destroy).at(0).handle, 5u);

    HM_OpenCommPort(1, 5, 8, 0, 1);
    EXPECT_EQ(fake_pendra::count(Fn::Create), 2);
    EXPECT_EQ(fake_pendra::callsOf(Fn::SetupEx).back().handle, 6u);
}

TEST_F(OpenCommPortTest, CloseWithoutOpenDoesNothing) {
    HM_CloseCommPort(1);
    EXPECT_TRUE(fake_pendra::calls().empty());
}

TEST_F(LibraryTest, SettingsHaveTheirDefaultsAndStoreAnyValueUnchecked) {
    EXPECT_EQ(HM_GetRetryTimes(), 10);
    EXPECT_EQ(HM_get_time_out(), 4000);
    EXPECT_EQ(HM_get_ESC_delay(), 10);
    EXPECT_EQ(HM_get_NAK_delay(), 50);
    EXPECT_EQ(HM_get_power_saving_status(), 0);
    EXPECT_EQ(HM_get_upload_file_save_mode(), 0);

    EXPECT_EQ(HM_SetRetryTimes(-3), -3);
    EXPECT_EQ(HM_set_time_out(123456), 123456);
    EXPECT_EQ(HM_set_ESC_delay(-1), -1);
    EXPECT_EQ(HM_set_NAK_delay(0), 0);
    EXPECT_EQ(HM_set_power_saving_status(77), 77);
    EXPECT_EQ(HM_set_upload_file_save_mode(9), 9);
    EXPECT_EQ(HM_GetRetryTimes(), -3);
    EXPECT_EQ(HM_get_time_out(), 123456);
    EXPECT_EQ(HM_get_ESC_delay(), -1);
    EXPECT_EQ(HM_get_NAK_delay(), 0);
    EXPECT_EQ(HM_get_power_saving_status(), 77);
    EXPECT_EQ(HM_get_upload_file_save_mode(), 9);
    EXPECT_TRUE(fake_pendra::calls().empty()) << "settings never reach the link";
}

TEST_F(LibraryTest, VersionAndReturnSlots) {
    EXPECT_EQ(HM_version(), 19);
    EXPECT_EQ(HM_get_return_string_length(3), 0);
    zelo::state().returnSlots.fill(99);
    EXPECT_EQ(HM_get_return_string_length(7), 99);
    EXPECT_EQ(HM_get_return_string_length(-1), 0);
    EXPECT_EQ(HM_get_return_string_length(8), 0);
    EXPECT_EQ(HM_get_return_string_length(INT32_MIN), 0);
    EXPECT_EQ(HM_get_return_string_length(INT32_MAX), 0);
}

TEST_F(LibraryTest, TimeDelayWaitsJustOverTheRequestedTime) {
    auto start = Clock::now();
    HM_time_delay(0);
    EXPECT_GE(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count(),
              1000);

    start = Clock::now();
    HM_time_delay(30);
    long long took = millisecondsSince(start);
    EXPECT_GE(took, 30);
    EXPECT_LT(took, 3000);
}

TEST_F(LibraryTest, PowerSavingOffSucceedsOnFirstAcceptedAnswer) {
    fake_pendra::pushResults(Fn::DBG, {4});
    auto start = Clock::now();
    EXPECT_EQ(HM_power_saving_off(1, 'C'), 0);
    EXPECT_GE(millisecondsSince(start), 50) << "waits after the attempt";

    auto sent = fake_pendra::callsOf(Fn::DBG);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].request, "7");
    EXPECT_EQ(sent[0].requestLength, 1);
    EXPECT_EQ(sent[0].address, 'C');
    EXPECT_EQ(HM_get_power_saving_return(), 0);
}

TEST_F(LibraryTest, PowerSavingOffGivesUpAfterFiveAttemptsWithTheLastCode) {
    const std::pair<int16_t, int32_t> lastResults[] = {{5, 3}, {130, 4}, {0, 5}, {6, 5}};
    for (auto [linkResult, code] : lastResults) {
        fake_pendra::reset();
        fake_pendra::pushResults(Fn::DBG, {130, 5, 130, 5, linkResult});
        auto start = Clock::now();
        EXPECT_EQ(HM_power_saving_off(1, 'A'), code);
        long long took = millisecondsSince(start);
        EXPECT_EQ(fake_pendra::count(Fn::DBG), 5);
        EXPECT_EQ(HM_get_power_saving_return(), code);
        EXPECT_EQ(HM_get_return_string_length(5), code);
        EXPECT_GE(took, 5 * 50);
        EXPECT_LT(took, 5000);
    }
}

TEST_F(LibraryTest, PowerSavingOnSucceedingOnThirdAttemptWaitedBeforeEach) {
    fake_pendra::pushResults(Fn::DBG, {5, 130, 1});
    auto start = Clock::now();
    EXPECT_EQ(HM_power_saving_on(1, 'B'), 0);
    long long took = millisecondsSince(start);
    EXPECT_GE(took, 150);
    EXPECT_LT(took, 3000);
    auto sent = fake_pendra::callsOf(Fn::DBG);
    ASSERT_EQ(sent.size(), 3u);
    for (const auto& call : sent) EXPECT_EQ(call.request, "8");
    EXPECT_EQ(HM_get_power_saving_return(), 0);
}

TEST_F(LibraryTest, PowerSavingAddressIsTheSignExtendedLowByte) {
    fake_pendra::pushResults(Fn::DBG, {4, 4});
    HM_power_saving_off(1, 0x1234'0041);  // 'A' in the low byte
    HM_power_saving_off(1, 0xE9);         // a byte above 127 becomes negative
    auto sent = fake_pendra::callsOf(Fn::DBG);
    EXPECT_EQ(sent.at(0).address, 'A');
    EXPECT_EQ(sent.at(1).address, static_cast<int16_t>(-23));
}

TEST_F(LibraryTest, WrapDoesNothingWhilePowerSavingIsNotInUse) {
    EXPECT_TRUE(zelo::powerSavingOffPart(1, 'A'));
    zelo::powerSavingOnPart(1, 'A');
    EXPECT_TRUE(fake_pendra::calls().empty());
}

TEST_F(LibraryTest, WrapRefusesWhenTheTerminalKeepsPowerSavingOn) {
    HM_set_power_saving_status(1);
    auto start = Clock::now();
    EXPECT_FALSE(zelo::powerSavingOffPart(1, 'A'));  // the silent line times out
    EXPECT_GE(millisecondsSince(start), 250);
    EXPECT_EQ(fake_pendra::count(Fn::DBG), 5);
    EXPECT_EQ(HM_get_power_saving_return(), 4);

    fake_pendra::reset();
    fake_pendra::pushResults(Fn::DBG, {6, 6, 6, 6, 6, 5, 1});
    EXPECT_FALSE(zelo::powerSavingOffPart(1, 'A')) << "6 is not a success of the switch";
    EXPECT_EQ(HM_get_power_saving_return(), 5);
    EXPECT_TRUE(zelo::powerSavingOffPart(1, 'A')) << "the second attempt succeeds";
    EXPECT_EQ(fake_pendra::count(Fn::DBG), 7);
}

TEST_F(OpenCommPortTest, LastErrorTextPassesTheLinkReasonOnWithinTheCallersRoom) {
    fake_pendra::setLastError(ZELO_OPEN_PERMISSION_DENIED, "/dev/ttyS0: permission denied");
    char text[12];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(HM_last_error_text(text, sizeof text), ZELO_OPEN_PERMISSION_DENIED);
    EXPECT_STREQ(text, "/dev/ttyS0:");  // cut to room - 1, always terminated
    EXPECT_EQ(HM_last_error_text(nullptr, 0), ZELO_OPEN_PERMISSION_DENIED);
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(HM_last_error_text(text, -5), ZELO_OPEN_PERMISSION_DENIED);
    EXPECT_EQ(text[0], 'x') << "a negative room writes nothing";
}

// The link layer asks the library's stop check while it waits. A Stop that
// comes while the line opens or a probe for a terminal runs (the directory,
// the firmware version) ends that wait; one during another command, or one
// left from before the call, does not: a transfer's cancel must still go out.
TEST_F(LibraryTest, StopCutsTheOpeningAndTheProbesOnlyWhileTheyRun) {
    bool stopMeanwhile = true;
    std::vector<std::pair<Fn, bool>> asked;
    fake_pendra::setResponder([&](const fake_pendra::Call& c) -> std::optional<fake_pendra::Reply> {
        if (stopMeanwhile) HM_stop_communication();
        asked.emplace_back(c.fn, fake_pendra::stopCheckSays());
        return std::nullopt;
    });
    char text[ZELO_LISTING_SIZE + 1] = {};
    HM_OpenCommPort(1, 9, 8, 0, 1);
    HM_dir(1, 'A', text);
    HM_firmware_version(1, 'A', text);
    HM_terminal_id(1, 'A', text);
    const std::vector<std::pair<Fn, bool>> expected = {{Fn::Create, true},  {Fn::SetupEx, true},
                                                       {Fn::Connect, true}, {Fn::FindFirst, true},
                                                       {Fn::DBG, true},     {Fn::ESC_R, false}};
    EXPECT_EQ(asked, expected) << fake_pendra::transcript();

    asked.clear();
    stopMeanwhile = false;
    HM_stop_communication();  // before the call: the probe waits as usual
    HM_dir(1, 'A', text);
    ASSERT_FALSE(asked.empty());
    EXPECT_FALSE(asked.front().second);
}
