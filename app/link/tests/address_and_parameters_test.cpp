#include "answering_terminal.hpp"
#include "link/comm_parameters.hpp"

namespace zelo::link::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(CommParameters, LayoutFollowsTheTerminalFamily) {
    const CommTableRequest request{kBaudIndex9600, 1, 0, 0, 0};
    EXPECT_EQ(BuildCommParameters(request, kGravoHalda, 2), "718NM002");
    EXPECT_EQ(BuildCommParameters(request, kLanta, 2), "718NM002F");
    EXPECT_EQ(BuildCommParameters(request, kBrisa, 2), "718NFM0002");
    EXPECT_EQ(BuildCommParameters({9, 0, 1, 2, 0}, kFenna, 15), "A27EM015");
    EXPECT_EQ(BuildCommParameters({0, 1, 0, 1, 0}, kFenna, 15), "018OM015");
    EXPECT_EQ(BuildCommParameters({1, 1, 0, 0, 0}, kFenna, 15)[0], '2');
    // Out-of-range time-outs still give exactly two digits.
    EXPECT_EQ(BuildCommParameters(request, kEstra, 123).size(), 10u);
}

TEST_F(AnsweringTerminalTest, ChangeAddressWorksOnlyOnTheOldAddress) {
    comm.addresses = "ABD";
    progress.addressSelected[1] = 1;
    fake_pendra::setResponder([](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::ESC_5) return Reply{6, ""};
        return std::nullopt;
    });
    link.ChangeAddress(operation, 'B', 'C');
    EXPECT_EQ(link.written, (Lines{"C Change address B to C  Successfully"}));
    EXPECT_EQ(comm.addresses, "ACD");
    EXPECT_EQ(progress.addressStatus[0], 0);
    EXPECT_EQ(progress.addressStatus[1], kStatusDone);
    EXPECT_EQ(progress.addressStatus[2], 0);
    const auto calls = fake_pendra::callsOf(Fn::ESC_5);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].address, 'B');
    EXPECT_EQ(calls[0].arg1, 'C');
    EXPECT_EQ(status.idle, 1);
    EXPECT_EQ(link.settingsSaved, 1);

    link.written.clear();
    fake_pendra::setResponder([](const Call&) { return std::optional<Reply>(Reply{7, ""}); });
    link.ChangeAddress(operation, 'D', 'E');
    EXPECT_EQ(link.written, (Lines{"D Change address D to E  Illegal command"}));
    EXPECT_EQ(comm.addresses, "ACD");
    EXPECT_EQ(progress.addressStatus[2], kStatusFailed);
    EXPECT_EQ(link.settingsSaved, 1);  // nothing changed: nothing saved
}

TEST_F(AnsweringTerminalTest, CommParametersCarryEachAddressAndReconnectAtTheNewSpeed) {
    answering = {'A', 'B', 'C'};  // B is not selected, but the line probe asks it too
    comm.terminalType = kEstra;
    const CommTableRequest request{9, 1, 0, 0, 1};
    link.SetCommParameters(operation, request, 2);
    ASSERT_GE(link.written.size(), 2u);
    EXPECT_EQ(link.written[0], "A Set commnication Para. A18NFMA002 Successfully");
    EXPECT_EQ(link.written[1], "C Set commnication Para. A18NFMC002 Successfully");
    std::vector<std::string> sent;
    for (const Call& c : fake_pendra::callsOf(Fn::DBG)) sent.push_back(c.request);
    EXPECT_EQ(sent, (std::vector<std::string>{"CA18NFMA002", "CA18NFMC002"}));

    // Then the line is closed, the new comm kept and saved, and the line
    // opened again at 57600.
    EXPECT_EQ(comm.baudIndex, 9);
    EXPECT_EQ(link.settingsSaved, 1);
    EXPECT_EQ(status.connected, 1);
    EXPECT_EQ(link.written.back(), "  Open COM3 at 57600bps  ");
}

TEST_F(AnsweringTerminalTest, AutoBootAndRunSendTheNameWithoutItsExtension) {
    answering = {'A', 'C'};
    link.SetAutoBoot(operation, "MENU.EXE", 'C', false, Disk::kRam);
    link.RunProgram(operation, "PROG.EXE", 'A', false, Disk::kFlashRom);
    EXPECT_EQ(link.written,
              (Lines{"C Auto-Boot MENU Successfully", "A Run PROG/ROM Successfully"}));
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_O).front().request, "MENU");
    EXPECT_EQ(AddressesOf(Fn::ESC_O), "C");
    EXPECT_EQ(fake_pendra::callsOf(Fn::ESC_X).front().request, "PROG/ROM");

    link.written.clear();
    link.SetAutoBoot(operation, "MENU.EXE", 'C', true, Disk::kFlashRom);
    EXPECT_EQ(link.written,
              (Lines{"A Auto-Boot MENU Successfully", "C Auto-Boot MENU Successfully"}));
    EXPECT_EQ(fake_pendra::callsOf(Fn::DBG).back().request, "OMENU/ROM");
}

TEST_F(AnsweringTerminalTest, AutoBootWithNoProgramTellsEveryAddressAndAsksNone) {
    progress.addressStatus[0] = 2;
    status.idle = 1;
    link.SetAutoBoot(operation, "", 'A', true, Disk::kRam);
    EXPECT_EQ(link.written, (Lines{"A Auto-Boot  doesn't exist", "B Auto-Boot  doesn't exist",
                                   "C Auto-Boot  doesn't exist"}));
    EXPECT_TRUE(fake_pendra::calls().empty());
    EXPECT_EQ(progress.addressStatus[0], 2);
}

TEST_F(AnsweringTerminalTest, RunReportsAMissingProgramAsFailed) {
    fake_pendra::setResponder([](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::ESC_X) return Reply{7, ""};
        return std::nullopt;
    });
    link.RunProgram(operation, "GONE.EXE", 'A', true, Disk::kRam);
    EXPECT_EQ(link.written, (Lines{"A Run GONE doesn't exist", "C Run GONE doesn't exist"}));
    EXPECT_EQ(progress.addressStatus[0], kStatusFailed);
}

}  // namespace
}  // namespace zelo::link::testing
