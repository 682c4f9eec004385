// Network lines without a network: the address forms, the Telnet codec, and
// the com-port control set-up against a scripted server connection.
#include "platform/network_port.hpp"

#include <gtest/gtest.h>

#include <future>

#include "platform/com_port_control.hpp"
#include "platform/network_address.hpp"
#include "platform/result_within.hpp"
#include "platform/stop_check.hpp"
#include "platform/tcp_connection.hpp"

namespace pendra::platform {
namespace {

using namespace telnet;
using std::chrono::milliseconds;

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

TEST(NetworkAddressTest, AcceptsTheTwoSchemesAndRefusesWhatIsNotAnAddress) {
    std::string error;
    const auto telnetLine = parseNetworkAddress("RFC2217://127.0.0.1:7000", error);
    ASSERT_TRUE(telnetLine);
    EXPECT_EQ(telnetLine->kind, NetworkAddress::Kind::ComPortControl);
    EXPECT_EQ(telnetLine->host, "127.0.0.1");
    EXPECT_EQ(telnetLine->port, 7000);
    const auto raw = parseNetworkAddress("socket://[::1]:65535", error);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->kind, NetworkAddress::Kind::RawSocket);
    EXPECT_EQ(raw->host, "::1");
    for (const char* bad : {"socket://host", "socket://:80", "socket://host:0",
                            "socket://host:65536", "socket://host:80/x", "socket://ho st:80",
                            "socket://[::1:80", "rfc2217://host:99999999999999999999"}) {
        EXPECT_FALSE(parseNetworkAddress(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
        EXPECT_TRUE(isNetworkAddress(bad)) << bad;  // never taken for a device path
    }
    EXPECT_FALSE(isNetworkAddress("/dev/ttyS0"));
    EXPECT_TRUE(neverResolves("no-such-host.INVALID."));
    EXPECT_FALSE(neverResolves("invalid.example"));
}

TEST(TelnetCodecTest, DataAndCommandsApartInAnyPieces) {
    EXPECT_EQ(escaped(reinterpret_cast<const uint8_t*>("\xff"
                                                       "a\xff"),
                      3),
              "\xff\xff"
              "a\xff\xff");
    // Data with a doubled 0xFF, an answer inside which 0xFF is doubled too,
    // a request to echo (refused), a grant of binary (asked for: no answer).
    const std::string server =
        "x" + bytes({kIac, kIac}) + "y" +
        bytes({kIac, kSubBegin, kComPort, 101, 0, 0, kIac, kIac, 0, kIac, kSubEnd}) +
        bytes({kIac, kWill, 1, kIac, kDo, kBinary, kIac, kDo, 24}) + "z";
    Receiver receiver;
    std::string data;
    for (char c : server) {
        const auto byte = static_cast<uint8_t>(c);
        receiver.feed(&byte, 1, data);
    }
    EXPECT_EQ(data, "x\xffyz");
    EXPECT_EQ(receiver.takeReplies(), bytes({kIac, kDont, 1, kIac, kWont, 24}));
    const auto answer = receiver.takeAnswer();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->command, ComPortCommand::SetBaudRate);
    EXPECT_EQ(answer->value, bytes({0, 0, 0xFF, 0}));
    EXPECT_FALSE(receiver.ready());  // binary one way only, no com-port control yet
}

// A server as far as the client can tell: it answers what it was sent, the
// way the test asks.
class ScriptedServer : public TcpConnection {
public:
    struct Script {
        bool answers = true;
        bool grantsComPort = true;
        std::string closesSaying;  // closes at once with these words when set
        std::string baudAnswer;    // instead of the speed asked for
    };
    ScriptedServer(Script script, std::string& sent) : script_(script), sent_(sent) {}

    bool send(const uint8_t* data, std::size_t length, int) override {
        sent_.append(reinterpret_cast<const char*>(data), length);
        if (!script_.answers) return true;
        if (!script_.closesSaying.empty()) {
            toClient_ += script_.closesSaying;
            closed_ = true;
            return true;
        }
        if (!negotiated_) {
            negotiated_ = true;
            toClient_ += bytes({kIac, kDo, kBinary, kIac, kWill, kBinary, kIac,
                                script_.grantsComPort ? kDo : kDont, kComPort});
        }
        // Each com-port command is answered with its value, number + 100.
        for (auto at = sent_.find(bytes({kIac, kSubBegin, kComPort}), seen_);
             at != std::string::npos; at = sent_.find(bytes({kIac, kSubBegin, kComPort}), at + 1)) {
            const auto end = sent_.find(bytes({kIac, kSubEnd}), at);
            const uint8_t command = static_cast<uint8_t>(sent_[at + 3]);
            std::string value = sent_.substr(at + 4, end - at - 4);
            if (command == 1 && !script_.baudAnswer.empty()) value = script_.baudAnswer;
            if (command == 5) continue;  // no modem lines: as ser2net on a pseudo-terminal
            toClient_ +=
                bytes({kIac, kSubBegin, kComPort, command + 100}) + value + bytes({kIac, kSubEnd});
            seen_ = end;
        }
        return true;
    }

    ReadStatus receive(uint8_t* data, std::size_t capacity, int, std::size_t& received) override {
        received = std::min(capacity, toClient_.size());
        if (received == 0) return closed_ ? ReadStatus::Failed : ReadStatus::TimedOut;
        std::copy_n(toClient_.begin(), received, data);
        toClient_.erase(0, received);
        return ReadStatus::Data;
    }

    void queue(const std::string& text) { toClient_ += text; }

private:
    Script script_;
    std::string& sent_;
    std::string toClient_;
    std::size_t seen_ = 0;
    bool negotiated_ = false;
    bool closed_ = false;
};

struct Opened {
    OpenResult result;
    ScriptedServer* server = nullptr;
};

Opened setUpWith(ScriptedServer::Script script, std::string& sent) {
    auto connection = std::make_unique<ScriptedServer>(script, sent);
    ScriptedServer* server = connection.get();
    return {setUpComPortLine(std::move(connection), "rfc2217://127.0.0.1:7000",
                             LineSettings{57600, 'E', 2}, milliseconds(100)),
            server};
}

bool contains(const std::string& sent, const std::string& wanted) {
    return sent.find(wanted) != std::string::npos;
}

TEST(ComPortLineTest, SetsTheFarPortRaisesDtrAndRtsAndDropsDtrOnClose) {
    std::string sent;
    Opened opened = setUpWith({}, sent);
    ASSERT_TRUE(opened.result.port) << opened.result.error;
    EXPECT_TRUE(
        contains(sent, bytes({kIac, kWill, kBinary, kIac, kDo, kBinary, kIac, kWill, kComPort})));
    EXPECT_TRUE(contains(sent, comPortCommand(ComPortCommand::SetBaudRate, baudRateValue(57600))));
    EXPECT_TRUE(contains(sent, comPortCommand(ComPortCommand::SetDataSize, 8)));
    EXPECT_TRUE(contains(sent, comPortCommand(ComPortCommand::SetParity, 3)));
    EXPECT_TRUE(contains(sent, comPortCommand(ComPortCommand::SetStopSize, 2)));
    EXPECT_TRUE(contains(sent, comPortCommand(ComPortCommand::SetControl, kControlDtrOn)));
    EXPECT_TRUE(contains(sent, comPortCommand(ComPortCommand::SetControl, kControlRtsOn)));
    EXPECT_TRUE(contains(sent, comPortCommand(ComPortCommand::PurgeData, kPurgeBoth)));

    // 0xFF in line data goes doubled and comes back single.
    sent.clear();
    const uint8_t frame[] = {0x1B, 0xFF, 0x41};
    ASSERT_TRUE(opened.result.port->write(frame, sizeof frame, 100));
    EXPECT_EQ(sent, bytes({0x1B, 0xFF, 0xFF, 0x41}));
    opened.server->queue(bytes({0x06, kIac, kIac, 0x03}));
    uint8_t got[8] = {};
    std::size_t received = 0;
    ASSERT_EQ(opened.result.port->read(got, sizeof got, 100, received), ReadStatus::Data);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(got), received), bytes({0x06, 0xFF, 0x03}));

    sent.clear();
    opened.result.port.reset();
    EXPECT_EQ(sent, comPortCommand(ComPortCommand::SetControl, kControlDtrOff));
}

TEST(ComPortLineTest, EachFailureSaysWhy) {
    struct Case {
        ScriptedServer::Script script;
        OpenFailure failure;
        const char* words;
    };
    ScriptedServer::Script wrongSpeed, silent, noControl, busy;
    wrongSpeed.baudAnswer = baudRateValue(9600);
    silent.answers = false;
    noControl.grantsComPort = false;
    busy.closesSaying = "Port already in use\r\n";
    const Case cases[] = {
        {wrongSpeed, OpenFailure::SettingsRefused,
         "set its port to 9600 baud instead of 57600 baud"},
        {silent, OpenFailure::Other, "no answer from the server within 100 ms"},
        {noControl, OpenFailure::Other, "refuses com-port control"},
        {busy, OpenFailure::InUse, "closed the connection saying \"Port already in use\""},
    };
    for (const Case& c : cases) {
        std::string sent;
        const Opened opened = setUpWith(c.script, sent);
        EXPECT_FALSE(opened.result.port) << c.words;
        EXPECT_EQ(opened.result.failure, c.failure) << c.words;
        EXPECT_NE(opened.result.error.find("rfc2217://127.0.0.1:7000: "), std::string::npos);
        EXPECT_NE(opened.result.error.find(c.words), std::string::npos) << opened.result.error;
    }
}

// A lookup that never comes back must not hold the opening.
TEST(ResultWithinTest, GivesUpOnWorkThatOutlastsTheLimit) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    const auto result = resultWithin<int>(
        [released] {
            released.wait();
            return 1;
        },
        milliseconds(20));
    EXPECT_FALSE(result);
    release.set_value();
    EXPECT_EQ(resultWithin<int>([] { return 2; }, milliseconds(10'000)), 2);
}

// Stop (the caller's stop check) ends every wait of the opening at once,
// however long the limit: the server's silence, and a lookup that hangs.
TEST(StopCheckTest, EndsTheOpeningsWaitsAtOnce) {
    using Clock = std::chrono::steady_clock;
    static Clock::time_point stopAt;
    setStopCheck([] { return Clock::now() >= stopAt; });
    const milliseconds limit(20'000);

    std::string sent;
    ScriptedServer::Script silent;
    silent.answers = false;
    stopAt = Clock::now() + milliseconds(100);
    const OpenResult opened = setUpComPortLine(std::make_unique<ScriptedServer>(silent, sent),
                                               "rfc2217://h:1", LineSettings{57600, 'N', 1}, limit);
    EXPECT_LT(Clock::now() - stopAt, milliseconds(2000));
    EXPECT_FALSE(opened.port);
    EXPECT_NE(opened.error.find(kStoppedText), std::string::npos) << opened.error;

    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    stopAt = Clock::now() + milliseconds(100);
    const auto lookup = resultWithin<int>(
        [released] {
            released.wait();
            return 1;
        },
        limit);
    EXPECT_LT(Clock::now() - stopAt, milliseconds(2000));
    EXPECT_FALSE(lookup);
    release.set_value();
    setStopCheck(nullptr);
}

}  // namespace
}  // namespace pendra::platform
