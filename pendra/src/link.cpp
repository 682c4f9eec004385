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
constexpr int kDefaultRetransmissions = 2;

// A bounded number from the environment, or the fallback.
long long numberFromEnvironment(const char* name, long long fallback, long long low,
                                long long high) {
    const char* text = std::getenv(name);
    if (text == nullptr || text[0] == 0) return fallback;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != 0 || value < low || value > high) return fallback;
    return value;
}

milliseconds millisecondsFromEnvironment(const char* name, milliseconds fallback, long long low,
                                         long long high) {
    return milliseconds(numberFromEnvironment(name, fallback.count(), low, high));
}

// Whether the request did not reach the terminal intact (a negative
// acknowledgement, which the terminal never remembers) or its reply did not
// reach us intact: asking again under the same serial is then safe, since
// the terminal answers a repeat from memory without acting twice.
bool worthRepeating(uint8_t status) {
    return status == kResultTimeOut || status == kResultDamagedReply || status == kResultNak;
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
          millisecondsFromEnvironment("PENDRA_MODEM_GUARD_MS", kDefaultModemGuard, 0, 5'000)),
      retransmissions_(static_cast<int>(
          numberFromEnvironment("PENDRA_RETRANSMISSIONS", kDefaultRetransmissions, 0, 10))),
      protocol_(static_cast<int>(numberFromEnvironment("PENDRA_PROTOCOL", wire::kVersionStreaming,
                                                       wire::kVersionStopAndWait,
                                                       wire::kVersionStreaming))) {
    // Serials start at random so that a restarted host is not taken for
    // the one before it repeating its last request.
    std::random_device entropy;
    for (Peer& peer : peers_) peer.repliedSerial = static_cast<uint8_t>(entropy() & 0x7F);
}

bool Link::setup(int32_t port, int16_t baud, int16_t stop, int16_t parity) {
    flushPollAcknowledgements();
    port_.reset();
    for (Peer& peer : peers_) {
        peer.window.stop();
        peer.uploadMayStream = false;
        peer.pollMayBatch = false;
        peer.pollAhead.reset();  // where the caller stands outlives the line
        peer.download.clear();
    }
    downloadStreaming_.reset();
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
    if (auto answered = downloadBefore(request, peer)) return *answered;
    if (!port_) return {kResultLineFailure, {}};
    if (request.command == wire::Command::NextPacket && peer.uploadMayStream) {
        return streamedPacket(request, peer);
    }
    // Any other request ends a stream to that terminal: the terminal stops
    // sending ahead when it sees the request, and what it sent before comes
    // in before the reply, to be skipped as stray.
    peer.window.stop();
    peer.handedOut.reset();
    if (request.command != wire::Command::NextPacket) peer.uploadMayStream = false;
    if (request.command == wire::Command::Poll && peer.pollMayBatch) {
        return batchedPoll(request, peer);
    }
    settlePollAhead(peer);

    const uint8_t serial = static_cast<uint8_t>((peer.repliedSerial + 1) & wire::kSerialMask);
    const uint8_t tag = static_cast<uint8_t>(serial | (peer.acknowledged ? wire::kTagFlag : 0));
    const auto frame = wire::requestFrame(request, tag);
    if (!frame) return {kResultLineFailure, {}};
    const std::size_t requestBytes =
        wire::frameSize(wire::Direction::Request, frame->payload.size());

    // Whatever arrived before this request can only be late or stray. A
    // repeat keeps what arrived since: a late reply to the first sending is
    // the reply to the repeat as well.
    port_->discardInput();
    decoder_.clear();
    auto sent = Clock::now();
    Outcome outcome = attempt(request, *frame, serial);
    for (int repeat = 1; repeat <= retransmissions_ && worthRepeating(outcome.status); ++repeat) {
        trace::note("request sent again (" + std::to_string(repeat) + " of " +
                    std::to_string(retransmissions_) + ")");
        sent = Clock::now();
        outcome = attempt(request, *frame, serial);
    }
    const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - sent);
    noteAnswer(request, peer, serial, outcome, took, requestBytes);
    downloadAfter(request, peer, outcome, took, requestBytes);
    return outcome;
}

void Link::noteAnswer(const wire::Request& request, Peer& peer, uint8_t serial,
                      const Outcome& outcome, milliseconds took, std::size_t requestBytes) {
    // A negative acknowledgement means the request was not taken: it is
    // asked again under the same serial.
    const bool answered = outcome.status != kResultTimeOut &&
                          outcome.status != kResultDamagedReply &&
                          outcome.status != kResultLineFailure && outcome.status != kResultNak;
    if (!answered) return;
    peer.repliedSerial = serial;
    peer.replied = true;
    peer.acknowledged = false;
    peer.pollAhead.settle();  // the request's flag told the terminal
    if (request.command == wire::Command::Poll && outcome.reply.more &&
        protocol_ >= wire::kVersionStreaming) {
        peer.pollMayBatch = true;
    }
    if (request.command == wire::Command::UploadRequest && outcome.status == 4 &&
        protocol_ >= wire::kVersionStreaming &&
        outcome.reply.payload.find(static_cast<char>(wire::kVersionStreaming)) !=
            std::string::npos) {
        // The time the terminal and the line took beyond the two frames'
        // own line time sizes the window.
        const auto frames = lineTime(settings_, requestBytes) +
                            lineTime(settings_, wire::frameSize(wire::Direction::Reply,
                                                                outcome.reply.payload.size()));
        peer.turnaround = std::max(milliseconds(0), took - frames);
        peer.uploadMayStream = true;
    }
}

Link::Outcome Link::streamedPacket(const wire::Request& request, Peer& peer) {
    if (peer.handedOut && !peer.acknowledged) {
        // Asked again without acknowledging: as in stop-and-wait, the
        // terminal's next packet is still the one not acknowledged.
        return {peer.handedOut->status, *peer.handedOut};
    }
    peer.handedOut.reset();
    const uint8_t serial = static_cast<uint8_t>((peer.repliedSerial + 1) & wire::kSerialMask);
    if (!peer.window.active()) {
        port_->discardInput();
        decoder_.clear();
        const auto frameTime = lineTime(settings_, wire::kMaxFrameSize);
        peer.window.start(UploadWindow::sizeFor(peer.turnaround.count(), frameTime.count()));
        trace::note("upload window of " + std::to_string(peer.window.size()) + " packets");
    } else {
        collectArrived(request.address, peer);
    }
    Outcome outcome;
    std::optional<wire::Reply> held = peer.window.take(serial);
    if (!held && peer.replied && peer.acknowledged && peer.window.active()) {
        // Probably on its way: asking for it now would make the terminal
        // send it, and what follows it, twice. Asked for only when it does
        // not come within a turnaround and a window of frames.
        const auto within = peer.turnaround +
                            (peer.window.size() + 1) * lineTime(settings_, wire::kMaxFrameSize) +
                            milliseconds(20);
        held = awaitStreamed(request.address, peer, serial, within);
    }
    if (held) {
        outcome.status = held->status;
        outcome.reply = std::move(*held);
    } else {
        // Not sent, lost or damaged: ask for it, which also tells the
        // terminal to go on from it.
        wire::Request ask = request;
        ask.command = wire::Command::StreamPackets;
        ask.payload = std::string(1, static_cast<char>(peer.window.size())) +
                      request.payload.substr(0, wire::kMaxPayload - 1);
        const uint8_t tag = static_cast<uint8_t>(serial | (peer.acknowledged ? wire::kTagFlag : 0));
        const auto frame = wire::requestFrame(ask, tag);
        if (!frame) return {kResultLineFailure, {}};
        outcome = attempt(ask, *frame, serial, &peer);
        for (int repeat = 1; repeat <= retransmissions_ && worthRepeating(outcome.status);
             ++repeat) {
            trace::note("packet asked for again (" + std::to_string(repeat) + " of " +
                        std::to_string(retransmissions_) + ")");
            outcome = attempt(ask, *frame, serial, &peer);
        }
    }
    noteAnswer(request, peer, serial, outcome, milliseconds(0), 0);
    if (peer.repliedSerial == serial) peer.handedOut = outcome.reply;
    return outcome;
}

void Link::offerToWindow(const wire::Frame& frame, Peer& peer) {
    if (frame.command != static_cast<uint8_t>(wire::Command::StreamPackets)) return;
    const uint8_t next = static_cast<uint8_t>((peer.repliedSerial + 1) & wire::kSerialMask);
    if (peer.window.hold(frame.tag & wire::kSerialMask, next, wire::replyFromFrame(frame))) {
        trace::frame('<', wire::encodeFrame(frame));
    }
}

std::optional<wire::Reply> Link::awaitStreamed(char address, Peer& peer, uint8_t serial,
                                               milliseconds within) {
    const auto deadline = Clock::now() + within;
    uint8_t buffer[512];
    while (Clock::now() < deadline) {
        std::size_t received = 0;
        const auto status =
            port_->read(buffer, sizeof buffer, millisecondsLeft(deadline), received);
        if (status == platform::ReadStatus::Failed) {
            lineFailed("cannot read");
            return std::nullopt;
        }
        if (status != platform::ReadStatus::Data) continue;
        decoder_.feed(buffer, received);
        while (auto event = decoder_.next()) {
            const wire::Frame& frame = event->frame;
            if (frame.direction != wire::Direction::Reply ||
                frame.address != static_cast<uint8_t>(address)) {
                continue;
            }
            const bool ours = (frame.tag & wire::kSerialMask) == serial;
            if (event->kind == wire::FrameDecoder::Kind::Damaged) {
                trace::note("damaged packet frame skipped (serial " +
                            std::to_string(frame.tag & wire::kSerialMask) + ")");
                if (ours) return std::nullopt;  // ask for it at once
                continue;
            }
            offerToWindow(frame, peer);
            if (ours) {
                if (auto reply = peer.window.take(serial)) return reply;
            }
        }
    }
    return std::nullopt;
}

void Link::collectArrived(char address, Peer& peer) {
    uint8_t buffer[1024];
    for (;;) {
        std::size_t received = 0;
        const auto status = port_->read(buffer, sizeof buffer, 0, received);
        if (status == platform::ReadStatus::Failed) {
            lineFailed("cannot read");
            return;
        }
        if (status != platform::ReadStatus::Data) return;
        decoder_.feed(buffer, received);
        while (auto event = decoder_.next()) {
            const wire::Frame& frame = event->frame;
            if (frame.direction != wire::Direction::Reply ||
                frame.address != static_cast<uint8_t>(address)) {
                continue;
            }
            if (event->kind == wire::FrameDecoder::Kind::Damaged) {
                trace::note("damaged packet frame skipped (serial " +
                            std::to_string(frame.tag & wire::kSerialMask) + ")");
                continue;
            }
            offerToWindow(frame, peer);
        }
    }
}

Link::Outcome Link::attempt(const wire::Request& request, const wire::Frame& frame, uint8_t serial,
                            Peer* streaming) {
    if (!sendFrame(frame)) return {kResultLineFailure, {}};
    return awaitReply(request, serial,
                      wire::frameSize(wire::Direction::Request, frame.payload.size()), streaming);
}

Link::Outcome Link::awaitReply(const wire::Request& request, uint8_t serial,
                               std::size_t requestBytes, Peer* streaming) {
    // On a pseudo-terminal drain() returns at once while the other side
    // still plays the request's line time, hence the request's time here.
    // A streaming terminal may have a window of packets to finish first.
    const auto start = Clock::now();
    const auto ahead = streaming
                           ? streaming->window.size() * lineTime(settings_, wire::kMaxFrameSize)
                           : milliseconds(0);
    auto deadline = start + answerAllowance_ + 2 * lineTime(settings_, requestBytes) + ahead;
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
            const bool sameTerminal = frame.address == static_cast<uint8_t>(request.address);
            const bool ours = sameTerminal &&
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
            if (ours) {
                trace::frame('<', wire::encodeFrame(frame));
                return {frame.status, wire::replyFromFrame(frame)};
            }
            if (streaming != nullptr && sameTerminal) {
                offerToWindow(frame, *streaming);
                continue;
            }
            trace::frame('<', wire::encodeFrame(frame));
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
    // A data packet that went as a data frame is acknowledged by the
    // stream itself.
    if (peer.download.streamedLast) return 1;
    if (!peer.replied) {
        trace::note("nothing to acknowledge yet");
        return 1;
    }
    if (deferAcknowledgement(peer)) return 1;
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
