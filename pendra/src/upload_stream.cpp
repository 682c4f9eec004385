#include "upload_stream.hpp"

#include <string>

#include "message_codec.hpp"
#include "packed_bytes.hpp"
#include "trace.hpp"

namespace pendra {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kStreamedSlack{20};
// The status of a reply that carries an upload packet (3 is the end).
constexpr uint8_t kPacketStatus = 1;

bool isReplyFrom(const wire::Frame& frame, char address) {
    return frame.direction == wire::Direction::Reply &&
           frame.address == static_cast<uint8_t>(address);
}

void noteDamaged(const wire::Frame& frame) {
    trace::note("damaged packet frame skipped (serial " +
                std::to_string(frame.tag & wire::kSerialMask) + ")");
}

}  // namespace

void UploadStream::stop(bool uploadOver) {
    window_.stop();
    handedOut_.reset();
    if (uploadOver) mayStream_ = false;
}

Outcome UploadStream::packet(LinkLine& line, PeerSerials& serials, const wire::Request& request) {
    if (handedOut_ && !serials.acknowledged) {
        // Asked again without acknowledging: as in stop-and-wait, the
        // terminal's next packet is still the one not acknowledged.
        return {handedOut_->status, *handedOut_};
    }
    handedOut_.reset();
    const uint8_t serial = serials.next();
    if (!window_.active()) {
        line.discardInput();
        const auto frameTime = line.lineTime(wire::kMaxFrameSize);
        window_.start(UploadWindow::sizeFor(turnaround_.count(), frameTime.count()));
        trace::note("upload window of " + std::to_string(window_.size()) + " packets");
    } else {
        collectArrived(line, request.address, serials);
    }
    std::optional<wire::Reply> held = window_.take(serial);
    if (!held && serials.replied && serials.acknowledged && window_.active()) {
        // Probably on its way: asking for it now would make the terminal
        // send it, and what follows it, twice. Asked for only when it does
        // not come within a turnaround and a window of frames.
        const auto within = turnaround_ +
                            (window_.size() + 1) * line.lineTime(wire::kMaxFrameSize) +
                            kStreamedSlack;
        held = awaitStreamed(line, request.address, serials, serial, within);
    }
    if (!line.connected()) return {kResultLineFailure, {}};
    Outcome outcome;
    if (held) {
        outcome.status = held->status;
        outcome.reply = std::move(*held);
    } else {
        // Not sent, lost or damaged: ask for it, which also tells the
        // terminal to go on from it.
        wire::Request ask = request;
        ask.command = packing_ ? wire::Command::StreamPacked : wire::Command::StreamPackets;
        ask.payload = std::string(1, static_cast<char>(window_.size())) +
                      request.payload.substr(0, wire::kMaxPayload - 1);
        LinkLine::Asking asking;
        // The terminal may have a window of packets to finish first.
        asking.ahead = window_.size() * line.lineTime(wire::kMaxFrameSize);
        asking.sameTerminal = [&](const wire::Frame& frame) { offer(frame, serials); };
        asking.repeated = "packet asked for again";
        outcome = line.ask(ask, serials.tag(serial), asking);
    }
    if (packing_ && answeredByTerminal(outcome.status) && outcome.reply.more) unpackInto(outcome);
    if (answeredByTerminal(outcome.status)) {
        serials.answered(serial);
        handedOut_ = outcome.reply;
        handedOutCounted_ = false;
    }
    return outcome;
}

void UploadStream::unpackInto(Outcome& outcome) const {
    const auto packet = wire::decodePackedPacket(outcome.reply.payload);
    std::optional<std::string> bytes;
    if (packet && packet->before == handedOutBytes_ &&
        packet->dictionaryLength <= history_.size()) {
        bytes = wire::unpack(
            std::string_view(history_).substr(history_.size() - packet->dictionaryLength),
            packet->packed, packet->rawLength);
    }
    if (!bytes) {
        trace::note("packed packet that does not unpack against what was handed out: damaged");
        outcome = Outcome{};
        outcome.status = kResultDamagedReply;
        outcome.reply.status = kResultDamagedReply;
        return;
    }
    outcome.reply.payload = std::move(*bytes);
    outcome.reply.more = false;
}

void UploadStream::acknowledged() {
    if (!handedOut_ || handedOutCounted_ || handedOut_->status != kPacketStatus) return;
    handedOutCounted_ = true;
    handedOutBytes_ += handedOut_->payload.size();
    history_ += handedOut_->payload;
    if (history_.size() > 2 * wire::kMaxDictionary) {
        history_.erase(0, history_.size() - wire::kMaxDictionary);
    }
}

void UploadStream::offer(const wire::Frame& frame, const PeerSerials& serials) {
    const auto asked = packing_ ? wire::Command::StreamPacked : wire::Command::StreamPackets;
    if (frame.command != static_cast<uint8_t>(asked)) return;
    if (window_.hold(frame.tag & wire::kSerialMask, serials.next(), wire::replyFromFrame(frame))) {
        trace::frame('<', wire::encodeFrame(frame));
    }
}

void UploadStream::collectArrived(LinkLine& line, char address, const PeerSerials& serials) {
    line.listen(line.now(), [&](const wire::FrameDecoder::Event& event) {
        if (!isReplyFrom(event.frame, address)) return false;
        if (event.kind == wire::FrameDecoder::Kind::Damaged) {
            noteDamaged(event.frame);
        } else {
            offer(event.frame, serials);
        }
        return false;
    });
}

std::optional<wire::Reply> UploadStream::awaitStreamed(LinkLine& line, char address,
                                                       const PeerSerials& serials, uint8_t serial,
                                                       milliseconds within) {
    std::optional<wire::Reply> packet;
    line.listen(line.now() + within, [&](const wire::FrameDecoder::Event& event) {
        const wire::Frame& frame = event.frame;
        if (!isReplyFrom(frame, address)) return false;
        const bool ours = (frame.tag & wire::kSerialMask) == serial;
        if (event.kind == wire::FrameDecoder::Kind::Damaged) {
            noteDamaged(frame);
            return ours;  // ask for it at once
        }
        offer(frame, serials);
        if (ours) packet = window_.take(serial);
        return packet.has_value();
    });
    return packet;
}

}  // namespace pendra
