// Polling in batches (protocol version 2): one request brings as many of a
// terminal's records as one reply holds; the link hands them out one per
// Pendra_POLL, each under the serial a stop-and-wait poll would have had,
// and the terminal moves past a record only once the caller acknowledged it.
#include <optional>
#include <string>

#include "frame.hpp"
#include "line_settings.hpp"
#include "link.hpp"
#include "message_codec.hpp"
#include "poll_batch.hpp"
#include "trace.hpp"

namespace pendra {

namespace {

uint8_t serialAfter(uint8_t serial) {
    return static_cast<uint8_t>((serial + 1) & wire::kSerialMask);
}

constexpr std::chrono::seconds kHeldAtMost{60};

bool carriesRecord(uint8_t status) { return status == 1 || status == 2; }

bool answeredByTerminal(uint8_t status) {
    return status != kResultTimeOut && status != kResultDamagedReply &&
           status != kResultLineFailure && status != kResultNak;
}

}  // namespace

Link::~Link() {
    try {
        flushPollAcknowledgements();
    } catch (...) {  // out of memory while tracing: the terminal sends them again
    }
}

Link::Outcome Link::batchedPoll(const wire::Request& request, Peer& peer) {
    PollReadAhead& ahead = peer.pollAhead;
    if (peer.replied && !peer.acknowledged && ahead.handedOut()) {
        // Asked again before the acknowledgement: a stop-and-wait terminal
        // would still send this record.
        return {ahead.handedOut()->status, *ahead.handedOut()};
    }
    // Records held across a pause in polling (a stop) are dropped, to be
    // sent again: the bound leaves a slow line time to hand out a batch to
    // each of many terminals in turn.
    const auto now = std::chrono::steady_clock::now();
    if (ahead.stale(now, kHeldAtMost + 40 * lineTime(settings_, wire::kMaxFrameSize))) {
        trace::note("poll records held too long dropped");
        ahead.drop();
    }
    if (auto record = ahead.take(serialAfter(peer.repliedSerial))) {
        peer.repliedSerial = serialAfter(peer.repliedSerial);
        peer.acknowledged = false;
        const uint8_t status = record->status;
        return {status, std::move(*record)};
    }
    settlePollAhead(peer);

    // Nothing held: ask for a batch. Its flag acknowledges the last record
    // the caller took, and with it every record before.
    const uint8_t serial = serialAfter(peer.repliedSerial);
    wire::Request ask = request;
    ask.command = wire::Command::PollBatch;
    const bool numbered = ahead.asksNumbered();
    ask.payload = wire::batchRequestPayload(
        wire::kMaxPollBatch,
        numbered ? std::optional<uint32_t>(ahead.storedThrough()) : std::nullopt, request.payload);
    const uint8_t tag = static_cast<uint8_t>(serial | (peer.acknowledged ? wire::kTagFlag : 0));
    const auto frame = wire::requestFrame(ask, tag);
    if (!frame) return {kResultLineFailure, {}};
    port_->discardInput();
    decoder_.clear();
    Outcome outcome = attempt(ask, *frame, serial);
    for (int repeat = 1; repeat <= retransmissions_ && !answeredByTerminal(outcome.status) &&
                         outcome.status != kResultLineFailure;
         ++repeat) {
        trace::note("poll batch asked for again (" + std::to_string(repeat) + " of " +
                    std::to_string(retransmissions_) + ")");
        outcome = attempt(ask, *frame, serial);
    }
    if (outcome.status == kResultTimeOut) {
        // Perhaps a terminal that no longer knows batches (replaced, or
        // restarted at version 1) and ignores them: the next poll asks as
        // version 1 does, and its reply tells again.
        trace::note("no answer to a poll batch: polling this terminal one record per reply");
        peer.pollMayBatch = false;
    }
    if (!answeredByTerminal(outcome.status)) return outcome;
    if (carriesRecord(outcome.status) || outcome.status == wire::kNumberedRecords) {
        auto first = ahead.start(serial, outcome.reply, now);
        if (!first) {
            // Passed its checks yet does not add up: taken as a damaged
            // reply, so nothing of it is handed out or acknowledged.
            trace::note("poll batch whose record lengths do not add up");
            return {kResultDamagedReply, {}};
        }
        outcome.reply = std::move(*first);
        outcome.status = outcome.reply.status;
    }
    peer.repliedSerial = serial;
    peer.replied = true;
    peer.acknowledged = false;
    ahead.settle();
    return outcome;
}

void Link::settlePollAhead(Peer& peer) {
    PollReadAhead& ahead = peer.pollAhead;
    ahead.drop();
    const auto owed = ahead.owed();
    if (owed && !(peer.acknowledged && peer.repliedSerial == *owed)) {
        // The record handed out last was not acknowledged: the next request
        // goes under the serial after the last one that was, whose flag
        // acknowledges it; the other comes again later.
        peer.repliedSerial = *owed;
        peer.acknowledged = true;
    }
}

bool Link::deferAcknowledgement(Peer& peer) {
    if (peer.pollAhead.numbered() && peer.pollAhead.handedOutNumber() != 0) {
        // Numbered: the next batch request says where the host stands, and
        // no frame needs to go now.
        peer.pollAhead.acknowledgeHandedOut();
        peer.acknowledged = true;
        return true;
    }
    if (!peer.pollAhead.holdsAfter(peer.repliedSerial)) {
        peer.pollAhead.settle();  // the Ack frame about to go covers it
        return false;
    }
    // More records of the batch are held: the acknowledgement rides on
    // what goes to the terminal next, cumulative.
    peer.acknowledged = true;
    peer.pollAhead.owe(peer.repliedSerial);
    return true;
}

void Link::pollNumber(char address, uint32_t& number, std::size_t& held) const {
    const PollReadAhead& ahead = peers_[static_cast<uint8_t>(address)].pollAhead;
    number = ahead.handedOutNumber();
    held = ahead.heldCount();
}

void Link::pollStored(char address, uint32_t number) {
    Peer& peer = peers_[static_cast<uint8_t>(address)];
    peer.pollAhead.stored(number);
    // A terminal that numbered records before: its first poll goes as a
    // batch that says where the host stands, so that it never hands out
    // again, one by one, a record the host has. (0: perhaps a version-1
    // terminal, which would not answer a batch request.)
    if (number > 0 && protocol_ >= wire::kVersionStreaming) peer.pollMayBatch = true;
}

void Link::flushPollAcknowledgements() {
    for (std::size_t address = 0; address < peers_.size(); ++address) {
        Peer& peer = peers_[address];
        const auto owed = peer.pollAhead.owed();
        if (!owed || !port_) continue;
        wire::Frame frame;
        frame.direction = wire::Direction::Request;
        frame.address = static_cast<uint8_t>(address);
        frame.command = static_cast<uint8_t>(wire::Command::Ack);
        frame.tag = static_cast<uint8_t>(*owed | wire::kTagFlag);
        sendFrame(frame);
        peer.pollAhead.settle();
    }
}

}  // namespace pendra
