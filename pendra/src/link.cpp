#include "link.hpp"

#include <algorithm>
#include <cstdlib>
#include <random>

#include "last_open_error.hpp"
#include "line_settings.hpp"
#include "packed_bytes.hpp"
#include "port_path.hpp"
#include "trace.hpp"

namespace pendra {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kDefaultAnswerAllowance{1000};
constexpr milliseconds kDefaultModemGuard{1000};
constexpr int kDefaultRetransmissions = 2;
constexpr int kModemEscapeWriteMs = 1000;
constexpr int kModemLineWriteMs = 2000;

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

// Version 3 packs with zlib; a build without it speaks version 2 at most.
long long highestVersion() {
    return wire::packingAvailable() ? wire::kVersionPacked : wire::kVersionStreaming;
}

}  // namespace

Link::Link(PortOpener openPort, LinkClock& clock)
    : openPort_(std::move(openPort)),
      protocol_(static_cast<int>(numberFromEnvironment(
          "PENDRA_PROTOCOL", highestVersion(), wire::kVersionStopAndWait, highestVersion()))),
      modemGuard_(
          millisecondsFromEnvironment("PENDRA_MODEM_GUARD_MS", kDefaultModemGuard, 0, 5'000)),
      line_(clock,
            millisecondsFromEnvironment("PENDRA_ANSWER_MS", kDefaultAnswerAllowance, 10, 60'000),
            static_cast<int>(
                numberFromEnvironment("PENDRA_RETRANSMISSIONS", kDefaultRetransmissions, 0, 10))),
      downloads_(line_, protocol_),
      group_(line_, [this](const wire::Request& request) { return exchange(request); }) {
    line_.whenLost([this](const std::string& why) {
        recordOpenError(
            platform::OpenFailure::LineLost,
            platform::describeOpenFailure(path_, platform::OpenFailure::LineLost, 0, why));
    });
    // Serials start at random so that a restarted host is not taken for
    // the one before it repeating its last request.
    std::random_device entropy;
    groupNumber_ = static_cast<uint8_t>(entropy() & 0xFF);
    for (Peer& peer : peers_) peer.serials.repliedSerial = static_cast<uint8_t>(entropy() & 0x7F);
}

Link::~Link() {
    try {
        flushPollAcknowledgements();
    } catch (...) {  // out of memory while tracing: the terminal sends them again
    }
}

void Link::flushPollAcknowledgements() {
    for (std::size_t address = 0; address < peers_.size(); ++address) {
        peers_[address].polls.flush(line_, static_cast<char>(address));
    }
}

bool Link::setup(int32_t port, int16_t baud, int16_t stop, int16_t parity) {
    flushPollAcknowledgements();
    line_.close();
    for (Peer& peer : peers_) {
        peer.upload.stop(true);
        peer.polls.reset();
    }
    downloads_.clear();
    groupCancel();
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
    platform::OpenResult opened = openPort_(*path, *settings);
    if (!opened.port) {
        recordOpenError(opened.failure, opened.error);
        trace::note("set-up failed: " + opened.error);
        return false;
    }
    recordOpenError(platform::OpenFailure::None, {});
    path_ = *path;
    line_.attach(std::move(opened.port), *settings);
    trace::note("opened " + *path + " at " + std::to_string(settings->baud) + " baud, parity " +
                settings->parity + ", " + std::to_string(settings->stopBits) + " stop bit(s)");
    return true;
}

Link::Outcome Link::exchange(const wire::Request& request) {
    if (!line_.connected()) return {kResultLineFailure, {}};
    Peer& peer = peers_[static_cast<uint8_t>(request.address)];
    StreamedDownloads::Before before = downloads_.before(request);
    if (before.answer) return *before.answer;
    if (before.checkedEnd) {
        Outcome outcome = exchange(*before.checkedEnd);
        outcome.reply.payload.clear();
        return outcome;
    }
    if (!line_.connected()) return {kResultLineFailure, {}};
    if (request.command == wire::Command::NextPacket && peer.upload.mayStream()) {
        Outcome outcome = peer.upload.packet(line_, peer.serials, request);
        if (answeredByTerminal(outcome.status)) peer.polls.told();
        return outcome;
    }
    peer.upload.stop(request.command != wire::Command::NextPacket);
    if (request.command == wire::Command::Poll && peer.polls.mayBatch()) {
        return peer.polls.poll(line_, peer.serials, request);
    }
    peer.polls.settle(peer.serials);

    // Whatever arrived before this request can only be late or stray.
    const uint8_t serial = peer.serials.next();
    line_.discardInput();
    LinkLine::Timing timing;
    Outcome outcome = line_.ask(request, peer.serials.tag(serial), {}, &timing);
    noteAnswer(request, peer, serial, outcome, timing);
    downloads_.after(request, outcome, timing.took, timing.requestBytes);
    return outcome;
}

void Link::noteAnswer(const wire::Request& request, Peer& peer, uint8_t serial,
                      const Outcome& outcome, const LinkLine::Timing& timing) {
    if (!answeredByTerminal(outcome.status)) return;
    peer.serials.answered(serial);
    peer.polls.told();  // the request's flag told the terminal
    if (request.command == wire::Command::Poll && outcome.reply.more &&
        protocol_ >= wire::kVersionStreaming) {
        peer.polls.allow();
    }
    if (request.command == wire::Command::UploadRequest && outcome.status == kResultAccepted &&
        protocol_ >= wire::kVersionStreaming &&
        outcome.reply.payload.find(static_cast<char>(wire::kVersionStreaming)) !=
            std::string::npos) {
        // The time the terminal and the line took beyond the two frames'
        // own line time sizes the window.
        const auto frames =
            line_.lineTime(timing.requestBytes) +
            line_.lineTime(wire::frameSize(wire::Direction::Reply, outcome.reply.payload.size()));
        const bool packs = protocol_ >= wire::kVersionPacked &&
                           outcome.reply.payload.find(static_cast<char>(wire::kVersionPacked)) !=
                               std::string::npos;
        peer.upload.accepted(std::max(milliseconds(0), timing.took - frames), packs);
    }
}

int16_t Link::acknowledge(char address) {
    if (!line_.connected()) return kResultLineFailure;
    Peer& peer = peers_[static_cast<uint8_t>(address)];
    // A data packet that went as a data frame is acknowledged by the
    // stream itself.
    if (downloads_.streamedLast(address)) return 1;
    if (!peer.serials.replied) {
        trace::note("nothing to acknowledge yet");
        return 1;
    }
    if (peer.polls.deferAcknowledgement(peer.serials)) return 1;
    peer.serials.acknowledged = true;
    peer.upload.acknowledged();
    wire::Frame frame;
    frame.direction = wire::Direction::Request;
    frame.address = static_cast<uint8_t>(address);
    frame.command = static_cast<uint8_t>(wire::Command::Ack);
    frame.tag = static_cast<uint8_t>(peer.serials.repliedSerial | wire::kTagFlag);
    return line_.send(frame) ? 1 : kResultLineFailure;
}

uint8_t Link::groupOpen(const char* addresses, uint8_t count, uint8_t* joined) {
    groupCancel();
    std::fill(joined, joined + count, uint8_t{0});
    std::vector<char> candidates;
    for (uint8_t i = 0; i < count; ++i) {
        const char address = addresses[i];
        const bool twice = std::find(addresses, addresses + i, address) != addresses + i;
        if (!twice && address != wire::kGroupAddress && downloads_.mayGroup(address)) {
            candidates.push_back(address);
        }
    }
    if (candidates.size() < 2 || !line_.connected()) return 0;
    // A new number for each group, so that frames of an earlier one that a
    // terminal still meets are not taken for this one's.
    groupNumber_ = static_cast<uint8_t>(groupNumber_ + 1);
    const bool opened = group_.open(groupNumber_, candidates, true);
    // A terminal that joined unheard takes the group's frames into its
    // download: the caller learns the failure from its next data packet and
    // resumes, which ends the membership, rather than stream to a download
    // that is not where the link thinks.
    for (const auto& [address, status] : group_.unanswered())
        downloads_.joinUnanswered(address, status);
    if (!opened || !group_.active()) {
        groupCancel();
        return 0;
    }
    groupAddresses_.assign(addresses, count);
    uint8_t gathered = 0;
    for (const GroupDownload::Member& member : group_.members()) {
        joined[groupAddresses_.find(member.address)] = 1;
        ++gathered;
    }
    trace::note("group download of " + std::to_string(gathered) + " terminals");
    return gathered;
}

uint8_t Link::groupData(std::string_view bytes) {
    if (!group_.active()) return kResultLineFailure;
    return group_.data(bytes);
}

uint8_t Link::groupFinish(int16_t* results, uint32_t* held) {
    if (!group_.active()) return kResultLineFailure;
    const uint8_t status = group_.finish();
    if (status == 2) return status;
    std::fill(results, results + groupAddresses_.size(), int16_t{0});
    std::fill(held, held + groupAddresses_.size(), uint32_t{0});
    for (const GroupDownload::Member& member : group_.members()) {
        const std::size_t index = groupAddresses_.find(member.address);
        results[index] = member.result;
        held[index] = member.prefix;
        downloads_.groupEnded(member.address, member.result == kResultAccepted,
                              group_.sent(member.prefix));
    }
    groupCancel();
    return status;
}

void Link::groupCancel() {
    group_.close();
    groupAddresses_.clear();
}

void Link::pollNumber(char address, uint32_t& number, std::size_t& held) const {
    peers_[static_cast<uint8_t>(address)].polls.number(number, held);
}

void Link::pollStored(char address, uint32_t number) {
    peers_[static_cast<uint8_t>(address)].polls.stored(number, protocol_);
}

int16_t Link::modemCommand(const std::string& line) {
    if (!line_.connected()) return 0;
    modemLines_.clear();
    std::string rest = line;
    if (rest.rfind("+++", 0) == 0) {
        trace::note("escape to command mode with guard time");
        line_.clock().sleepFor(modemGuard_);
        if (!line_.sendBytes("+++", kModemEscapeWriteMs, "cannot write to the modem")) return 0;
        line_.clock().sleepFor(modemGuard_);
        rest.erase(0, 3);
        if (rest.empty()) return 1;
    }
    rest += '\r';
    trace::note("to modem: " + rest.substr(0, rest.size() - 1));
    return line_.sendBytes(rest, kModemLineWriteMs, "cannot write to the modem") ? 1 : 0;
}

Link::ModemAnswer Link::modemAnswer() {
    ModemAnswer answer;
    if (!line_.connected()) return answer;
    auto line = modemLines_.nextLine();
    if (!line) {
        uint8_t buffer[256];
        std::size_t received = 0;
        if (!line_.readBytes(buffer, sizeof buffer, kModemPollMs, received,
                             "cannot read from the modem")) {
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
