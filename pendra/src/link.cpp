#include "link.hpp"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <thread>

#include "last_open_error.hpp"
#include "line_settings.hpp"
#include "message_codec.hpp"
#include "port_path.hpp"
#include "trace.hpp"

namespace pendra {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kDefaultAnswerAllowance{1000};
constexpr milliseconds kDefaultModemGuard{1000};
constexpr milliseconds kReadSlice{50};

// A bounded number of milliseconds from the environment, or the fallback.
milliseconds millisecondsFromEnvironment(const char* name, milliseconds fallback, long low,
                                         long high) {
    const char* text = std::getenv(name);
    if (text == nullptr || text[0] == 0) return fallback;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != 0 || value < low || value > high) return fallback;
    return milliseconds(value);
}

int millisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, kReadSlice.count()));
}

}  // namespace

Link::Link()
    : answerAllowance_(
          millisecondsFromEnvironment("PENDRA_ANSWER_MS", kDefaultAnswerAllowance, 10, 60'000)),
      modemGuard_(
          millisecondsFromEnvironment("PENDRA_MODEM_GUARD_MS", kDefaultModemGuard, 0, 5'000)) {
    // Serials start at random so that a restarted host is not taken for
    // the one before it repeating its last request.
    std::random_device entropy;
    for (Peer& peer : peers_) peer.repliedSerial = static_cast<uint8_t>(entropy() & 0x7F);
}

bool Link::setup(int32_t port, int16_t baud, int16_t stop, int16_t parity) {
    port_.reset();
    decoder_.clear();
    modemLines_.clear();
    const auto settings = settingsFromCharacters(baud, stop, parity);
    if (!settings) {
        recordOpenError(platform::OpenFailure::Other,
                        "the speed, stop-bit or parity setting is not one the line knows");
        trace::note("set-up refused: speed, stop-bit or parity character not known");
        return false;
    }
    std::string error;
    const auto path = devicePathForPort(port, error);
    if (!path) {
        recordOpenError(platform::OpenFailure::Other, error);
        trace::note("set-up refused: " + error);
        return false;
    }
    platform::OpenResult opened = platform::openSerialPort(*path, *settings);
    if (!opened.port) {
        recordOpenError(opened.failure, opened.error);
        trace::note("set-up failed: " + opened.error);
        return false;
    }
    recordOpenError(platform::OpenFailure::None, {});
    settings_ = *settings;
    port_ = std::move(opened.port);
    trace::note("opened " + *path + " at " + std::to_string(settings_.baud) + " baud, parity " +
                settings_.parity + ", " + std::to_string(settings_.stopBits) + " stop bit(s)");
    return true;
}

void Link::lineFailed(const std::string& why) {
    trace::note("line failed: " + why + "; the port is closed");
    port_.reset();
}

bool Link::sendFrame(const wire::Frame& frame) {
    const std::string bytes = wire::encodeFrame(frame);
    trace::frame('>', bytes);
    const auto budget = 2 * lineTime(settings_, bytes.size()) + milliseconds(1000);
    if (!port_->write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                      static_cast<int>(budget.count())) ||
        !port_->drain()) {
        lineFailed("cannot write");
        return false;
    }
    return true;
}

Link::Outcome Link::exchange(const wire::Request& request) {
    if (!port_) return {kResultLineFailure, {}};
    Peer& peer = peers_[static_cast<uint8_t>(request.address)];
    const uint8_t serial = static_cast<uint8_t>((peer.repliedSerial + 1) & wire::kSerialMask);
    const uint8_t tag = static_cast<uint8_t>(serial | (peer.acknowledged ? wire::kTagFlag : 0));
    const auto frame = wire::requestFrame(request, tag);
    if (!frame) return {kResultLineFailure, {}};

    // Whatever arrived before this request can only be late or stray.
    port_->discardInput();
    decoder_.clear();
    if (!sendFrame(*frame)) return {kResultLineFailure, {}};
    Outcome outcome = awaitReply(request, serial,
                                 wire::frameSize(wire::Direction::Request, frame->payload.size()));

    // A negative acknowledgement means the request was not taken: it is
    // asked again under the same serial.
    const bool answered = outcome.status != kResultTimeOut &&
                          outcome.status != kResultDamagedReply &&
                          outcome.status != kResultLineFailure && outcome.status != kResultNak;
    if (answered) {
        peer.repliedSerial = serial;
        peer.replied = true;
        peer.acknowledged = false;
    }
    return outcome;
}

Link::Outcome Link::awaitReply(const wire::Request& request, uint8_t serial,
                               std::size_t requestBytes) {
    // On a pseudo-terminal drain() returns at once while the other side
    // still plays the request's line time, hence the request's time here.
    const auto start = Clock::now();
    auto deadline = start + answerAllowance_ + 2 * lineTime(settings_, requestBytes);
    const auto cap = deadline + 2 * lineTime(settings_, wire::kMaxFrameSize) + milliseconds(50);
    uint8_t buffer[512];
    while (Clock::now() < deadline) {
        std::size_t received = 0;
        const auto status =
            port_->read(buffer, sizeof buffer, millisecondsLeft(deadline), received);
        if (status == platform::ReadStatus::Failed) {
            lineFailed("cannot read");
            return {kResultLineFailure, {}};
        }
        if (status == platform::ReadStatus::TimedOut) continue;
        decoder_.feed(buffer, received);
        while (auto event = decoder_.next()) {
            const wire::Frame& frame = event->frame;
            if (frame.direction != wire::Direction::Reply) continue;
            const bool ours = frame.address == static_cast<uint8_t>(request.address) &&
                              frame.command == static_cast<uint8_t>(request.command) &&
                              (frame.tag & wire::kSerialMask) == serial;
            if (event->kind == wire::FrameDecoder::Kind::Damaged) {
                trace::note(std::string(ours ? "reply failed its check" : "damaged frame skipped") +
                            " (address " + static_cast<char>(frame.address) + ", command " +
                            static_cast<char>(frame.command) + ", serial " +
                            std::to_string(frame.tag & wire::kSerialMask) + ")");
                if (ours) return {kResultDamagedReply, {}};
                continue;
            }
            trace::frame('<', wire::encodeFrame(frame));
            if (ours) return {frame.status, wire::replyFromFrame(frame)};
            trace::note("stray reply skipped");
        }
        if (decoder_.missingBytes() > 0) {
            const auto rest =
                Clock::now() + 2 * lineTime(settings_, decoder_.missingBytes()) + milliseconds(50);
            deadline = std::min(cap, std::max(deadline, rest));
        }
    }
    trace::note("no reply in time");
    return {kResultTimeOut, {}};
}

int16_t Link::acknowledge(char address) {
    if (!port_) return kResultLineFailure;
    Peer& peer = peers_[static_cast<uint8_t>(address)];
    if (!peer.replied) {
        trace::note("nothing to acknowledge yet");
        return 1;
    }
    peer.acknowledged = true;
    wire::Frame frame;
    frame.direction = wire::Direction::Request;
    frame.address = static_cast<uint8_t>(address);
    frame.command = static_cast<uint8_t>(wire::Command::Ack);
    frame.tag = static_cast<uint8_t>(peer.repliedSerial | wire::kTagFlag);
    return sendFrame(frame) ? 1 : kResultLineFailure;
}

int16_t Link::modemCommand(const std::string& line) {
    if (!port_) return 0;
    modemLines_.clear();
    std::string rest = line;
    if (rest.rfind("+++", 0) == 0) {
        trace::note("escape to command mode with guard time");
        std::this_thread::sleep_for(modemGuard_);
        if (!port_->write(reinterpret_cast<const uint8_t*>("+++"), 3, 1000) || !port_->drain()) {
            lineFailed("cannot write to the modem");
            return 0;
        }
        std::this_thread::sleep_for(modemGuard_);
        rest.erase(0, 3);
        if (rest.empty()) return 1;
    }
    rest += '\r';
    trace::note("to modem: " + rest.substr(0, rest.size() - 1));
    if (!port_->write(reinterpret_cast<const uint8_t*>(rest.data()), rest.size(), 2000) ||
        !port_->drain()) {
        lineFailed("cannot write to the modem");
        return 0;
    }
    return 1;
}

Link::ModemAnswer Link::modemAnswer() {
    ModemAnswer answer;
    if (!port_) return answer;
    auto line = modemLines_.nextLine();
    if (!line) {
        uint8_t buffer[256];
        std::size_t received = 0;
        const auto status = port_->read(buffer, sizeof buffer, kModemPollMs, received);
        if (status == platform::ReadStatus::Failed) {
            lineFailed("cannot read from the modem");
            return answer;
        }
        modemLines_.feed(buffer, received);
        line = modemLines_.nextLine();
    }
    if (!line) return answer;
    trace::note("from modem: " + *line);
    answer.haveLine = true;
    answer.number = modemResultNumber(*line);
    answer.text = std::move(*line);
    return answer;
}

}  // namespace pendra
