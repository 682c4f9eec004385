// The Telnet side of a network line with com-port control (RFC 2217): what
// the client sends to set the far end's serial port, and a receiver that
// splits what the server sends into line data, option negotiation (which
// it answers) and the server's answers to com-port commands. No sockets
// here: network_port.cpp moves the bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace pendra::platform::telnet {

inline constexpr uint8_t kIac = 255;
inline constexpr uint8_t kDont = 254;
inline constexpr uint8_t kDo = 253;
inline constexpr uint8_t kWont = 252;
inline constexpr uint8_t kWill = 251;
inline constexpr uint8_t kSubBegin = 250;
inline constexpr uint8_t kSubEnd = 240;

inline constexpr uint8_t kBinary = 0;
inline constexpr uint8_t kSuppressGoAhead = 3;
inline constexpr uint8_t kComPort = 44;

// Com-port commands from client to server; the server answers each with
// the same number plus 100 and the value now in force.
enum class ComPortCommand : uint8_t {
    SetBaudRate = 1,  // four bytes, most significant first
    SetDataSize = 2,  // one byte: 5..8
    SetParity = 3,    // 1 none, 2 odd, 3 even
    SetStopSize = 4,  // 1 one, 2 two
    SetControl = 5,   // 1 no flow control, 8/9 DTR on/off, 11/12 RTS on/off
    PurgeData = 12,   // 1 the server's receive buffer, 2 its transmit buffer, 3 both
};
inline constexpr uint8_t kAnswerOffset = 100;

inline constexpr uint8_t kControlNoFlowControl = 1;
inline constexpr uint8_t kControlDtrOn = 8;
inline constexpr uint8_t kControlDtrOff = 9;
inline constexpr uint8_t kControlRtsOn = 11;
inline constexpr uint8_t kPurgeReceived = 1;
inline constexpr uint8_t kPurgeBoth = 3;

// Line data as it goes on the connection: every 0xFF doubled.
std::string escaped(const uint8_t* data, std::size_t length);

// IAC SB COM-PORT-OPTION command value IAC SE, the value escaped.
std::string comPortCommand(ComPortCommand command, const std::string& value);
std::string comPortCommand(ComPortCommand command, uint8_t value);
std::string baudRateValue(uint32_t baud);

// What the client asks for first: to send and receive in binary, and to
// control the server's port.
std::string openingRequests();

class Receiver {
public:
    Receiver();

    // Takes bytes from the server in any pieces; appends the line data
    // among them to `data` (never more bytes than came).
    void feed(const uint8_t* raw, std::size_t length, std::string& data);

    // The answers to the server's negotiation, to be sent; emptied.
    std::string takeReplies();

    struct Answer {
        ComPortCommand command;
        std::string value;
    };
    // The server's next answer to a com-port command, in the order they
    // came; at most kMaxAnswers are kept, the oldest dropped first.
    std::optional<Answer> takeAnswer();
    static constexpr std::size_t kMaxAnswers = 32;

    // Both directions binary and com-port control granted.
    bool ready() const;
    // What the server refused of what openingRequests() asked, in words;
    // empty while nothing was refused.
    std::string refusal() const;

private:
    enum class State { Data, Command, Option, Sub, SubCommand };
    struct Option {
        bool ours = false;    // we do it (the server said DO)
        bool theirs = false;  // the server does it (it said WILL)
        bool oursAsked = false;
        bool theirsAsked = false;
        bool oursRefused = false;
        bool theirsRefused = false;
    };
    void negotiate(uint8_t verb, uint8_t option);
    void subnegotiation();
    void reply(uint8_t verb, uint8_t option);

    State state_ = State::Data;
    uint8_t verb_ = 0;
    std::string sub_;
    bool subTooLong_ = false;
    std::string replies_;
    std::array<Option, 256> options_{};
    std::deque<Answer> answers_;
};

}  // namespace pendra::platform::telnet
