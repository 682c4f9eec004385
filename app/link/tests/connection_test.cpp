#include <map>

#include "answering_terminal.hpp"
#include "link/link_readiness.hpp"

namespace zelo::link::testing {
namespace {

using Lines = std::vector<std::string>;

// The line starts closed; terminals answer the directory probe only at the
// speed they are set to.
class ConnectTest : public AnsweringTerminalTest {
protected:
    void SetUp() override {
        AnsweringTerminalTest::SetUp();
        HM_CloseCommPort(comm.port);
        status.connected = 0;
        // The speed character the library hands the link layer for each index.
        for (int index = 0; index < 10; ++index) {
            fake_pendra::reset();
            HM_OpenCommPort(comm.port, index, 8, 0, 1);
            speedOf[fake_pendra::callsOf(Fn::SetupEx).front().arg1] = index;
            HM_CloseCommPort(comm.port);
        }
        fake_pendra::reset();
        fake_pendra::setResponder([this](const Call& c) { return Terminals(c); });
    }

    std::optional<Reply> Terminals(const Call& c) {
        if (c.fn == Fn::SetupEx) lineSpeed = speedOf[c.arg1];
        if (c.fn == Fn::Connect && ++opens == failOpenNumber) return Reply{0, ""};
        const bool answers =
            answering.count(static_cast<char>(c.address)) != 0 && lineSpeed == terminalSpeed;
        if (!answers) return std::nullopt;
        if (c.fn == Fn::FindFirst) return Reply{1, "PROG.EXE", -1, 0};
        if (c.fn == Fn::FindNext) return Reply{1, "", -1, 0};
        if (c.fn == Fn::DBG && c.request == "v") return Reply{1, "..V1.23"};
        return std::nullopt;
    }

    // Baud indexes of the opens, in order.
    std::vector<int> SpeedsOpened() {
        std::vector<int> speeds;
        for (const Call& c : fake_pendra::callsOf(Fn::SetupEx)) speeds.push_back(speedOf[c.arg1]);
        return speeds;
    }

    std::map<int, int> speedOf;
    int lineSpeed = -1;
    int terminalSpeed = kBaudIndex9600;
    int opens = 0;
    int failOpenNumber = 0;
};

TEST_F(ConnectTest, OpensAtTheConfiguredSpeedWhenEveryTerminalAnswers) {
    answering = {'A', 'B', 'C'};
    EXPECT_TRUE(link.Connect(comm, status));
    EXPECT_EQ(status.connected, 1);
    EXPECT_EQ(status.idle, 1);
    EXPECT_EQ(link.written, (Lines{"  Open COM3 at 9600bps  "}));
    EXPECT_EQ(AddressesOf(Fn::FindFirst), "ABC");  // every terminal, selected or not
    EXPECT_EQ(SpeedsOpened(), (std::vector<int>{6, 6}));
    EXPECT_EQ(link.settingsSaved, 0);
}

TEST_F(ConnectTest, SpeedSearchFindsAndKeepsTheTerminalsSpeed) {
    answering = {'A', 'B', 'C'};
    status.autoBaud = 1;
    terminalSpeed = 4;  // 2400
    EXPECT_TRUE(link.Connect(comm, status));
    EXPECT_EQ(link.written,
              (Lines{"  COM3 open error at 9600bps  ", "  COM3 open error at 57600bps  ",
                     "  COM3 open error at 38400bps  ", "  COM3 open error at 19200bps  ",
                     "  COM3 open error at 4800bps  ", "  Open COM3 at 2400bps  "}));
    // The configured speed is not tried a second time.
    EXPECT_EQ(SpeedsOpened(), (std::vector<int>{6, 9, 8, 7, 5, 4, 4}));
    EXPECT_EQ(comm.baudIndex, 4);
    EXPECT_EQ(link.settingsSaved, 1);
    EXPECT_EQ(status.connected, 1);
}

TEST_F(ConnectTest, OneSilentTerminalRejectsASpeed) {
    answering = {'A', 'C'};
    EXPECT_FALSE(link.Connect(comm, status));
    EXPECT_EQ(link.written, (Lines{"  COM3 open error at 9600bps  ", "  COM3 open error  "}));
    EXPECT_EQ(AddressesOf(Fn::FindFirst), "AB");
    EXPECT_EQ(status.connected, 0);
    EXPECT_EQ(status.idle, 1);

    // With the search on, every other speed is tried once and the command dropped.
    link.written.clear();
    fake_pendra::reset();
    fake_pendra::setResponder([this](const Call& c) { return Terminals(c); });
    status.autoBaud = 1;
    EXPECT_FALSE(link.Connect(comm, status));
    EXPECT_EQ(link.written.size(), 10u);
    EXPECT_EQ(link.written.back(), "  COM3 open error at 110bps  ");
    EXPECT_EQ(link.settingsSaved, 0);
}

TEST_F(ConnectTest, ThePortsReasonIsToldOnceAndTheResultLinesStay) {
    fake_pendra::setResponder([](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::SetupEx) return Reply{0, ""};
        return std::nullopt;
    });
    fake_pendra::setLastError(ZELO_OPEN_PERMISSION_DENIED, "/dev/ttyS0: permission denied");
    status.autoBaud = 1;  // ten failed opens, one reason
    EXPECT_FALSE(link.Connect(comm, status));
    EXPECT_EQ(link.explained, Lines{"/dev/ttyS0: permission denied"});
    EXPECT_EQ(link.written.front(), "  COM3 open error at 9600bps  ");
}

TEST_F(ConnectTest, TheSilentTerminalIsNamedWithTheSpeed) {
    answering = {'A'};
    comm.addresses = "ABC";
    EXPECT_FALSE(link.Connect(comm, status));
    ASSERT_EQ(link.explained.size(), 1u);
    EXPECT_EQ(link.explained[0],
              "COM3 opened, but terminal B did not answer at 9600 bps (C not "
              "tried); check the terminal's power, the cable, its address and "
              "its speed");
    EXPECT_EQ(link.written, (Lines{"  COM3 open error at 9600bps  ", "  COM3 open error  "}));
}

TEST_F(ConnectTest, BrisaLineIsProbedWithTheVersionQuery) {
    answering = {'A', 'B', 'C'};
    comm.terminalType = kBrisa;
    EXPECT_TRUE(link.Connect(comm, status));
    EXPECT_EQ(fake_pendra::count(Fn::FindFirst), 0);
    EXPECT_EQ(AddressesOf(Fn::DBG), "ABC");
    for (const Call& c : fake_pendra::callsOf(Fn::DBG)) EXPECT_EQ(c.request, "v");
}

TEST_F(ConnectTest, PortTakenBeforeTheFinalOpenLeavesTheLineClosed) {
    answering = {'A', 'B', 'C'};
    failOpenNumber = 2;  // the probe's open works, the one for use does not
    EXPECT_FALSE(link.Connect(comm, status));
    EXPECT_EQ(link.written, (Lines{"  COM3 open error  "}));
    EXPECT_EQ(status.connected, 0);
}

TEST_F(ConnectTest, StopDuringTheSearchClosesThePortQuietly) {
    answering = {};
    status.autoBaud = 1;
    fake_pendra::setResponder([this](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::FindFirst && lineSpeed == 8) {
            status.idle = 1;
            link.RequestStop();
        }
        return Terminals(c);
    });
    EXPECT_FALSE(link.Connect(comm, status));
    EXPECT_EQ(link.written,
              (Lines{"  COM3 open error at 9600bps  ", "  COM3 open error at 57600bps  "}));
    EXPECT_EQ(fake_pendra::count(Fn::Create), fake_pendra::count(Fn::Destroy));
    EXPECT_EQ(status.connected, 0);
}

// A modem that answers its initialisation with OK and the dial with the
// scripted word; hanging up is answered with OK.
class ModemTest : public AnsweringTerminalTest {
protected:
    void SetUp() override {
        AnsweringTerminalTest::SetUp();
        HM_CloseCommPort(comm.port);
        status.connected = 0;
        status.useModem = 1;
        comm.modemInitCommand = "ATZ";
        comm.dialNumber = "0123";
        comm.dialWaitTime = 5;
        fake_pendra::reset();
        fake_pendra::setResponder([this](const Call& c) -> std::optional<Reply> {
            if (c.fn == Fn::ModemATCmd) {
                lastCommand = c.request;
                answered = false;
            }
            if (c.fn != Fn::ModemEcho || answered) return std::nullopt;
            answered = true;
            if (lastCommand.rfind("ATD", 0) == 0) return dialAnswer;
            return Reply{1, "OK"};
        });
    }

    std::vector<std::string> ModemCommands() {
        std::vector<std::string> commands;
        for (const Call& c : fake_pendra::callsOf(Fn::ModemATCmd)) commands.push_back(c.request);
        return commands;
    }

    std::string lastCommand;
    bool answered = false;
    Reply dialAnswer{2, "CONNECT 9600"};
};

TEST_F(ModemTest, DialsConnectsAndHangsUp) {
    EXPECT_TRUE(link.Connect(comm, status));
    EXPECT_EQ(status.connected, 1);
    EXPECT_EQ(status.idle, 1);
    EXPECT_EQ(link.written, (Lines{"  Open COM3 at 9600bps  ", "  Send initial command  ATZ ",
                                   "  OK  ", "  Dial phone no  0123 ", "  CONNECT 9600\n  "}));
    link.written.clear();
    link.Disconnect(comm.port, status);
    EXPECT_EQ(link.written,
              (Lines{"  Hang up   ", "     Send +++ATH  ret = 0 ", "  Close COM port    "}));
    EXPECT_EQ(ModemCommands(), (std::vector<std::string>{"ATZ", "ATDT0123", "+++ATH"}));
    EXPECT_EQ(status.connected, 0);
}

TEST_F(ModemTest, FailedDialHangsUpAndPulseDiallingIsHonoured) {
    comm.dialType = 1;
    status.closing = 1;  // no "Close COM port " line while the window closes
    dialAnswer = Reply{4, "NO CARRIER"};
    EXPECT_FALSE(link.Connect(comm, status));
    EXPECT_EQ(status.connected, 0);
    EXPECT_EQ(status.idle, 1);
    ASSERT_GE(link.written.size(), 3u);
    EXPECT_EQ(link.written[link.written.size() - 3], "  Fail   ");
    EXPECT_EQ(link.written.back(), "     Send +++ATH  ret = 0 ");
    EXPECT_EQ(ModemCommands(), (std::vector<std::string>{"ATZ", "ATDP0123", "+++ATH"}));
}

TEST_F(ModemTest, PortThatWillNotOpenIsAMessageBox) {
    fake_pendra::setResponder([](const Call& c) -> std::optional<Reply> {
        if (c.fn == Fn::Connect) return Reply{0, ""};
        return std::nullopt;
    });
    EXPECT_FALSE(link.Connect(comm, status));
    EXPECT_EQ(link.boxes, (std::vector<std::string>{"COM3 open error"}));
    EXPECT_TRUE(link.written.empty());
    EXPECT_EQ(status.idle, 1);
}

TEST(LinkReadiness, DecidesWhetherAndHowToConnect) {
    CommSettings comm;
    LinkStatus status;
    int dialsAsked = 0;
    auto confirm = [&] { return ++dialsAsked == 1; };
    comm.addresses = "";
    EXPECT_EQ(CheckLinkReadiness(comm, status, confirm), kLinkNotReady);
    comm.addresses = "A";
    EXPECT_EQ(CheckLinkReadiness(comm, status, confirm), kLinkConnectDirect);
    status.useModem = 1;
    EXPECT_EQ(CheckLinkReadiness(comm, status, confirm), kLinkConnectModem);
    EXPECT_EQ(CheckLinkReadiness(comm, status, confirm), kLinkNotReady);  // cancelled
    status.connected = 1;
    EXPECT_EQ(CheckLinkReadiness(comm, status, confirm), kLinkOpen);
    EXPECT_EQ(dialsAsked, 2);
}

}  // namespace
}  // namespace zelo::link::testing
