#include "link_line.hpp"

#include <algorithm>

#include "line_settings.hpp"
#include "message_codec.hpp"
#include "platform/stop_check.hpp"
#include "trace.hpp"

namespace pendra {

namespace {

using std::chrono::milliseconds;

// The longest single wait on the port, so that a stretched deadline and the
// caller's Stop are seen.
constexpr milliseconds kReadSlice{platform::kStopLookMs};
// A reply's frame may still be under way when its time is up: it gets the
// rest's line time twice over and this much beyond.
constexpr milliseconds kFrameRestSlack{50};
constexpr milliseconds kWriteSlack{1000};

}  // namespace

bool answeredByTerminal(uint8_t status) {
    return status != kResultTimeOut && status != kResultDamagedReply &&
           status != kResultLineFailure && status != kResultNak;
}

bool worthRepeating(uint8_t status) {
    return status == kResultTimeOut || status == kResultDamagedReply || status == kResultNak;
}

LinkLine::LinkLine(LinkClock& clock, milliseconds answerAllowance, int retransmissions)
    : clock_(clock), answerAllowance_(answerAllowance), retransmissions_(retransmissions) {}

void LinkLine::attach(std::unique_ptr<platform::SerialPort> port,
                      const platform::LineSettings& settings) {
    port_ = std::move(port);
    settings_ = settings;
    decoder_.clear();
}

void LinkLine::close() {
    port_.reset();
    decoder_.clear();
}

milliseconds LinkLine::lineTime(std::size_t bytes) const {
    return pendra::lineTime(settings_, bytes);
}

void LinkLine::lost(const std::string& why) {
    trace::note("line failed: " + why + "; the port is closed");
    close();
    if (reportLoss_) reportLoss_(why);
}

bool LinkLine::send(const wire::Frame& frame) {
    const std::string bytes = wire::encodeFrame(frame);
    const auto budget = 2 * lineTime(bytes.size()) + kWriteSlack;
    if (port_) trace::frame('>', bytes);
    return sendBytes(bytes, static_cast<int>(budget.count()), "cannot write");
}

bool LinkLine::sendBytes(const std::string& bytes, int timeoutMs, const char* what) {
    if (!port_) return false;
    if (!port_->write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), timeoutMs) ||
        !port_->drain()) {
        lost(what);
        return false;
    }
    return true;
}

bool LinkLine::readBytes(uint8_t* data, std::size_t capacity, int timeoutMs, std::size_t& received,
                         const char* what) {
    received = 0;
    if (!port_) return false;
    if (port_->read(data, capacity, timeoutMs, received) == platform::ReadStatus::Failed) {
        received = 0;
        lost(what);
        return false;
    }
    return true;
}

void LinkLine::discardInput() {
    if (port_) port_->discardInput();
    decoder_.clear();
}

LinkLine::Heard LinkLine::listen(TimePoint until, const FrameHandler& onFrame,
                                 std::optional<TimePoint> stretchTo) {
    uint8_t buffer[1024];
    bool fresh = false;
    for (bool first = true;; first = false) {
        while (auto event = decoder_.next()) {
            if (onFrame(*event)) return Heard::Enough;
        }
        if (fresh && stretchTo && decoder_.missingBytes() > 0) {
            const auto rest = now() + 2 * lineTime(decoder_.missingBytes()) + kFrameRestSlack;
            until = std::min(*stretchTo, std::max(until, rest));
        }
        // The caller's Stop ends the wait as a time-up: the reply is not
        // waited for.
        if (!first && (now() >= until || platform::stopAsked())) return Heard::TimeUp;
        if (!port_) return Heard::LineLost;
        const auto left = std::chrono::duration_cast<milliseconds>(until - now()).count();
        const int wait = static_cast<int>(std::clamp<long long>(left, 0, kReadSlice.count()));
        std::size_t received = 0;
        const auto status = port_->read(buffer, sizeof buffer, wait, received);
        if (status == platform::ReadStatus::Failed) {
            lost("cannot read");
            return Heard::LineLost;
        }
        fresh = status == platform::ReadStatus::Data;
        if (fresh) decoder_.feed(buffer, received);
    }
}

Outcome LinkLine::ask(const wire::Request& request, uint8_t tag, const Asking& asking,
                      Timing* timing) {
    const auto frame = wire::requestFrame(request, tag);
    if (!frame) return {kResultLineFailure, {}};
    const uint8_t serial = tag & wire::kSerialMask;
    const std::size_t requestBytes =
        wire::frameSize(wire::Direction::Request, frame->payload.size());
    for (int repeat = 0;; ++repeat) {
        // Asked to stop already: nothing is sent, the outcome is no reply.
        if (platform::stopAsked()) return {kResultTimeOut, {}};
        if (repeat > 0) {
            trace::note(std::string(asking.repeated) + " (" + std::to_string(repeat) + " of " +
                        std::to_string(retransmissions_) + ")");
        }
        const auto sent = now();
        Outcome outcome = send(*frame) ? awaitReply(request, serial, requestBytes, asking)
                                       : Outcome{kResultLineFailure, {}};
        if (timing != nullptr) {
            timing->took = std::chrono::duration_cast<milliseconds>(now() - sent);
            timing->requestBytes = requestBytes;
        }
        if (repeat >= retransmissions_ || !worthRepeating(outcome.status) ||
            platform::stopAsked()) {
            return outcome;
        }
    }
}

Outcome LinkLine::awaitReply(const wire::Request& request, uint8_t serial, std::size_t requestBytes,
                             const Asking& asking) {
    // On a pseudo-terminal drain() returns at once while the other side
    // still plays the request's line time, hence the request's time here.
    const auto deadline = now() + answerAllowance_ + 2 * lineTime(requestBytes) + asking.ahead;
    const auto cap = deadline + 2 * lineTime(wire::kMaxFrameSize) + kFrameRestSlack;
    Outcome outcome;
    const Heard heard = listen(
        deadline,
        [&](const wire::FrameDecoder::Event& event) {
            const wire::Frame& frame = event.frame;
            if (frame.direction != wire::Direction::Reply) return false;
            const bool sameTerminal = frame.address == static_cast<uint8_t>(request.address);
            const bool ours = sameTerminal &&
                              frame.command == static_cast<uint8_t>(request.command) &&
                              (frame.tag & wire::kSerialMask) == serial;
            if (event.kind == wire::FrameDecoder::Kind::Damaged) {
                trace::note(std::string(ours ? "reply failed its check" : "damaged frame skipped") +
                            " (address " + static_cast<char>(frame.address) + ", command " +
                            static_cast<char>(frame.command) + ", serial " +
                            std::to_string(frame.tag & wire::kSerialMask) + ")");
                if (!ours) return false;
                outcome = {kResultDamagedReply, {}};
                return true;
            }
            if (ours) {
                trace::frame('<', wire::encodeFrame(frame));
                outcome = {frame.status, wire::replyFromFrame(frame)};
                return true;
            }
            if (asking.sameTerminal && sameTerminal) {
                asking.sameTerminal(frame);
                return false;
            }
            trace::frame('<', wire::encodeFrame(frame));
            trace::note("stray reply skipped");
            return false;
        },
        cap);
    switch (heard) {
        case Heard::Enough: return outcome;
        case Heard::LineLost: return {kResultLineFailure, {}};
        case Heard::TimeUp: break;
    }
    trace::note("no reply in time");
    return {kResultTimeOut, {}};
}

}  // namespace pendra
