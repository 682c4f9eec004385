// The link's line: the open port, the frames read from it, and the one way
// of asking a terminal (send a request, await its reply, send it again when
// the reply is lost or damaged). The streaming protocols build on it.
//
// When the port fails or goes away (a USB adapter pulled out, a device
// server restarted) the line closes at once; every call after that fails
// without touching the port, so whatever was under way ends with
// kResultLineFailure.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "frame.hpp"
#include "link_clock.hpp"
#include "serial_port.hpp"
#include "wire_message.hpp"

namespace pendra {

// The terminal's acceptance: of an upload request, of a download's announce,
// resume or data packet.
inline constexpr uint8_t kResultAccepted = 4;
// Results the link produces itself, besides the terminal's own.
inline constexpr uint8_t kResultNak = 5;
inline constexpr uint8_t kResultTimeOut = 130;
inline constexpr uint8_t kResultDamagedReply = 253;
inline constexpr uint8_t kResultLineFailure = 254;  // no open port, device gone, bad argument

struct Outcome {
    uint8_t status = kResultTimeOut;
    wire::Reply reply;
};

// Whether the terminal answered with a result of its own: not a time-out, a
// damaged reply, a failed line or a negative acknowledgement (which means the
// request was not taken and is asked again under the same serial).
bool answeredByTerminal(uint8_t status);

// Whether the request did not reach the terminal intact (a negative
// acknowledgement, which the terminal never remembers) or its reply did not
// reach us intact: asking again under the same serial is then safe, since
// the terminal answers a repeat from memory without acting twice.
bool worthRepeating(uint8_t status);

class LinkLine {
public:
    using TimePoint = LinkClock::TimePoint;

    LinkLine(LinkClock& clock, std::chrono::milliseconds answerAllowance, int retransmissions);

    void attach(std::unique_ptr<platform::SerialPort> port, const platform::LineSettings& settings);
    // Told why, once, when a read or write fails and the line closes.
    void whenLost(std::function<void(const std::string& why)> report) {
        reportLoss_ = std::move(report);
    }
    void close();
    bool connected() const { return port_ != nullptr; }

    LinkClock& clock() const { return clock_; }
    TimePoint now() const { return clock_.now(); }
    // The time `bytes` take on the line at its speed.
    std::chrono::milliseconds lineTime(std::size_t bytes) const;
    std::chrono::milliseconds answerAllowance() const { return answerAllowance_; }
    int retransmissions() const { return retransmissions_; }

    // Sends one frame and waits until it has left. False when the line is
    // gone or failed now.
    bool send(const wire::Frame& frame);
    // Bytes that are no frame (a modem's command line), `what` for the trace.
    bool sendBytes(const std::string& bytes, int timeoutMs, const char* what);
    // At most `capacity` bytes that are no frames, waiting at most
    // `timeoutMs`; false when the line is gone or failed now.
    bool readBytes(uint8_t* data, std::size_t capacity, int timeoutMs, std::size_t& received,
                   const char* what);

    // Drops what arrived and was not read yet, decoded or not.
    void discardInput();

    // The one read loop. Hands each frame decoded to `onFrame` (frames
    // decoded before and not handed out yet first) until it returns true
    // (Enough), until `until` has passed or the caller's stop check says to
    // stop (TimeUp; with `until` now, what has arrived is taken without
    // waiting), or the
    // line fails (LineLost). With `stretchTo`, a frame still arriving when
    // the time is up is waited for as long as its rest takes on the line, up
    // to `stretchTo`.
    enum class Heard { Enough, TimeUp, LineLost };
    using FrameHandler = std::function<bool(const wire::FrameDecoder::Event&)>;
    Heard listen(TimePoint until, const FrameHandler& onFrame,
                 std::optional<TimePoint> stretchTo = std::nullopt);

    // Sends `request` under `tag` and awaits the reply with the same
    // address, command and serial; while the outcome is worth repeating,
    // sends the same frame again, up to retransmissions() times. A repeat
    // keeps what arrived since the first sending: a late reply to it is the
    // reply to the repeat as well.
    struct Asking {
        // A streaming terminal may finish this much of the line's time
        // before it answers.
        std::chrono::milliseconds ahead{0};
        // Other frames from the same terminal (a stream's frames); without
        // it they are skipped as stray.
        std::function<void(const wire::Frame&)> sameTerminal;
        const char* repeated = "request sent again";
    };
    // What measures the terminal's turnaround: the time from the last
    // sending to the outcome, and the request frame's size.
    struct Timing {
        std::chrono::milliseconds took{0};
        std::size_t requestBytes = 0;
    };
    Outcome ask(const wire::Request& request, uint8_t tag, const Asking& asking,
                Timing* timing = nullptr);

private:
    Outcome awaitReply(const wire::Request& request, uint8_t serial, std::size_t requestBytes,
                       const Asking& asking);
    void lost(const std::string& why);

    LinkClock& clock_;
    std::chrono::milliseconds answerAllowance_;
    int retransmissions_;
    std::unique_ptr<platform::SerialPort> port_;
    platform::LineSettings settings_;
    wire::FrameDecoder decoder_;
    std::function<void(const std::string& why)> reportLoss_;
};

}  // namespace pendra
