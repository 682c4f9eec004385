#include "poll_batches.hpp"

#include <optional>
#include <string>

#include "frame.hpp"
#include "poll_batch.hpp"
#include "trace.hpp"

namespace pendra {

namespace {

uint8_t serialAfter(uint8_t serial) {
    return static_cast<uint8_t>((serial + 1) & wire::kSerialMask);
}

constexpr std::chrono::seconds kHeldAtMost{60};

bool carriesRecord(uint8_t status) { return status == 1 || status == 2; }

}  // namespace

void PollBatches::reset() {
    mayBatch_ = false;
    ahead_.reset();  // where the caller stands outlives the line
}

Outcome PollBatches::poll(LinkLine& line, PeerSerials& peer, const wire::Request& request) {
    PollReadAhead& ahead = ahead_;
    if (peer.replied && !peer.acknowledged && ahead.handedOut()) {
        // Asked again before the acknowledgement: a stop-and-wait terminal
        // would still send this record.
        return {ahead.handedOut()->status, *ahead.handedOut()};
    }
    // Records held across a pause in polling (a stop) are dropped, to be
    // sent again: the bound leaves a slow line time to hand out a batch to
    // each of many terminals in turn.
    const auto now = line.now();
    if (ahead.stale(now, kHeldAtMost + 40 * line.lineTime(wire::kMaxFrameSize))) {
        trace::note("poll records held too long dropped");
        ahead.drop();
    }
    if (auto record = ahead.take(serialAfter(peer.repliedSerial))) {
        peer.repliedSerial = serialAfter(peer.repliedSerial);
        peer.acknowledged = false;
        const uint8_t status = record->status;
        return {status, std::move(*record)};
    }
    settle(peer);

    // Nothing held: ask for a batch. Its flag acknowledges the last record
    // the caller took, and with it every record before.
    const uint8_t serial = serialAfter(peer.repliedSerial);
    wire::Request ask = request;
    ask.command = wire::Command::PollBatch;
    const bool numbered = ahead.asksNumbered();
    ask.payload = wire::batchRequestPayload(
        wire::kMaxPollBatch,
        numbered ? std::optional<uint32_t>(ahead.storedThrough()) : std::nullopt, request.payload);
    line.discardInput();
    LinkLine::Asking asking;
    asking.repeated = "poll batch asked for again";
    Outcome outcome = line.ask(ask, peer.tag(serial), asking);
    if (outcome.status == kResultTimeOut) {
        // Perhaps a terminal that no longer knows batches (replaced, or
        // restarted at version 1) and ignores them: the next poll asks as
        // version 1 does, and its reply tells again.
        trace::note("no answer to a poll batch: polling this terminal one record per reply");
        mayBatch_ = false;
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
    peer.answered(serial);
    ahead.settle();
    return outcome;
}

void PollBatches::settle(PeerSerials& peer) {
    PollReadAhead& ahead = ahead_;
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

bool PollBatches::deferAcknowledgement(PeerSerials& peer) {
    if (ahead_.numbered() && ahead_.handedOutNumber() != 0) {
        // Numbered: the next batch request says where the host stands, and
        // no frame needs to go now.
        ahead_.acknowledgeHandedOut();
        peer.acknowledged = true;
        return true;
    }
    if (!ahead_.holdsAfter(peer.repliedSerial)) {
        ahead_.settle();  // the Ack frame about to go covers it
        return false;
    }
    // More records of the batch are held: the acknowledgement rides on
    // what goes to the terminal next, cumulative.
    peer.acknowledged = true;
    ahead_.owe(peer.repliedSerial);
    return true;
}

void PollBatches::number(uint32_t& number, std::size_t& held) const {
    number = ahead_.handedOutNumber();
    held = ahead_.heldCount();
}

void PollBatches::stored(uint32_t number, int protocol) {
    ahead_.stored(number);
    // A terminal that numbered records before: its first poll goes as a
    // batch that says where the host stands, so that it never hands out
    // again, one by one, a record the host has. (0: perhaps a version-1
    // terminal, which would not answer a batch request.)
    if (number > 0 && protocol >= wire::kVersionStreaming) mayBatch_ = true;
}

void PollBatches::flush(LinkLine& line, char address) {
    const auto owed = ahead_.owed();
    if (!owed || !line.connected()) return;
    wire::Frame frame;
    frame.direction = wire::Direction::Request;
    frame.address = static_cast<uint8_t>(address);
    frame.command = static_cast<uint8_t>(wire::Command::Ack);
    frame.tag = static_cast<uint8_t>(*owed | wire::kTagFlag);
    line.send(frame);
    ahead_.settle();
}

}  // namespace pendra
