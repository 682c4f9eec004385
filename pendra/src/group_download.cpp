#include "group_download.hpp"

#include <algorithm>

#include "crc.hpp"
#include "download_messages.hpp"
#include "frame.hpp"
#include "group_repairs.hpp"
#include "message_codec.hpp"
#include "packed_bytes.hpp"
#include "platform/stop_check.hpp"
#include "trace.hpp"

namespace pendra {

namespace {

// Bytes gathered before a frame is made: enough for the longest prefix a
// packed frame may stand for, as in a download of its own.
constexpr std::size_t kPackingBatch = 4096;

}  // namespace

bool GroupDownload::open(uint8_t group, const std::vector<char>& candidates, bool packing) {
    members_.clear();
    unanswered_.clear();
    file_.clear();
    sent_ = 0;
    flushed_ = false;
    tooLong_ = false;
    group_ = group;
    packing_ = packing;
    for (char address : candidates) {
        wire::Request join;
        join.command = wire::Command::JoinGroup;
        join.address = address;
        join.payload = wire::encodeJoin(group);
        const Outcome outcome = ask_(join);
        if (outcome.status == kResultLineFailure) {
            members_.clear();
            return false;
        }
        if (outcome.status == kResultAccepted && wire::decodeJoin(outcome.reply.payload) == group) {
            Member member;
            member.address = address;
            members_.push_back(member);
        } else {
            trace::note(std::string("terminal ") + address + " did not join the group");
            if (!answeredByTerminal(outcome.status)) {
                unanswered_.emplace_back(address, outcome.status);
            }
        }
    }
    return true;
}

void GroupDownload::close() {
    members_.clear();
    file_.clear();
    file_.shrink_to_fit();
    sent_ = 0;
}

uint8_t GroupDownload::data(std::string_view bytes) {
    if (!line_.connected()) return kResultLineFailure;
    if (platform::stopAsked()) return kResultTimeOut;
    if (tooLong_) return kResultAccepted;
    if (file_.size() + bytes.size() > kMaxFile) {
        // Kept for repairs no further: each member goes on alone from what
        // it holds.
        trace::note("file too long for a group: every member goes on alone");
        tooLong_ = true;
        failAllOpen(7);
        return kResultAccepted;
    }
    file_ += bytes;
    const std::size_t batch = packing_ ? kPackingBatch : wire::kStreamDataBytes;
    if (file_.size() - sent_ < batch) return kResultAccepted;
    // Whole batches now; the rest waits for more bytes or the finish.
    const std::size_t upTo = file_.size() - (file_.size() - sent_) % batch;
    const uint8_t status = sendRange(sent_, upTo, wire::kGroupAddress);
    sent_ = upTo;
    return status;
}

uint8_t GroupDownload::sendRange(uint64_t from, uint64_t to, char address) {
    while (from < to) {
        const auto at = static_cast<std::size_t>(from);
        const std::string_view rest =
            std::string_view(file_).substr(at, static_cast<std::size_t>(to - from));
        wire::Request frame;
        frame.address = address;
        std::size_t length = std::min(rest.size(), wire::kStreamDataBytes);
        std::optional<wire::Packed> packed;
        if (packing_) {
            const std::size_t dictionary = std::min(at, wire::kMaxDictionary);
            packed = wire::packPrefix(std::string_view(file_).substr(at - dictionary, dictionary),
                                      rest.substr(0, kPackingBatch), wire::kPackedDataBytes,
                                      std::min(kPackingBatch, wire::kMaxPackedRaw));
            // Packed only when the frame then carries at least a raw one.
            if (packed && packed->rawLength >= length) {
                length = packed->rawLength;
                frame.command = wire::Command::GroupPacked;
                frame.payload = wire::encodePackedData(
                    {group_, static_cast<uint32_t>(at), static_cast<uint16_t>(length),
                     static_cast<uint16_t>(dictionary), std::move(packed->bytes)});
            } else {
                packed.reset();
            }
        }
        if (!packed) {
            frame.command = wire::Command::GroupData;
            frame.payload =
                wire::encodeStreamData(group_, static_cast<uint32_t>(at), rest.substr(0, length));
        }
        // Never answered: serial 0, nothing to acknowledge.
        const auto encoded = wire::requestFrame(frame, 0);
        if (!encoded) return kResultLineFailure;
        const auto frameTime =
            line_.lineTime(wire::frameSize(wire::Direction::Request, encoded->payload.size()));
        if (!awaitLine(2 * frameTime)) return kResultTimeOut;
        if (!line_.send(*encoded)) return kResultLineFailure;
        lineFreeAt_ = std::max(lineFreeAt_, line_.now()) + frameTime;
        from += length;
    }
    return kResultAccepted;
}

uint8_t GroupDownload::finish() {
    if (!line_.connected()) {
        failAllOpen(kResultLineFailure);
        return kResultLineFailure;
    }
    if (!flushed_ && !tooLong_) {
        const uint8_t status = sendRange(sent_, file_.size(), wire::kGroupAddress);
        if (status != kResultAccepted) return endAfterFailedSending(status);
        sent_ = file_.size();
        flushed_ = true;
    }
    std::vector<MemberLack> lacks;
    for (Member& member : members_) {
        if (member.finished) continue;
        // A question behind frames still on their way would be answered
        // late, and the member taken for silent.
        if (!awaitLine(std::chrono::milliseconds(0)) || platform::stopAsked()) {
            failAllOpen(kResultTimeOut);
            return 6;
        }
        auto missing = askLack(member);
        if (!line_.connected()) {
            failAllOpen(kResultLineFailure);
            return kResultLineFailure;
        }
        if (!member.finished) lacks.push_back({member.address, std::move(missing)});
    }
    for (const Repair& repair : planRepairs(lacks)) {
        const uint8_t status = sendRange(repair.range.offset, repair.range.end(), repair.address);
        if (status != kResultAccepted) return endAfterFailedSending(status);
    }
    const bool allFinished = std::all_of(members_.begin(), members_.end(),
                                         [](const Member& member) { return member.finished; });
    return allFinished ? 6 : 2;
}

uint8_t GroupDownload::endAfterFailedSending(uint8_t status) {
    failAllOpen(status);
    return status == kResultLineFailure ? status : 6;
}

std::vector<wire::ByteRange> GroupDownload::askLack(Member& member) {
    const auto length = static_cast<uint32_t>(file_.size());
    wire::Request question;
    question.command = wire::Command::Lacking;
    question.address = member.address;
    question.payload = wire::encodeLackQuestion({group_, length});
    const Outcome outcome = ask_(question);
    if (outcome.status != kResultAccepted) {
        fail(member, outcome.status);
        return {};
    }
    const auto lack = wire::decodeLack(outcome.reply.payload);
    if (!lack || lack->group != group_) {
        trace::note(std::string("terminal ") + member.address +
                    " answered the lack question wrongly");
        fail(member, kResultDamagedReply);
        return {};
    }
    member.prefix = lack->prefix;
    if (lack->prefix >= length && lack->missing.empty()) {
        // Complete as far as it knows: its own check of the file decides.
        wire::Request end;
        end.command = wire::Command::CheckedEnd;
        end.address = member.address;
        const uint32_t crc =
            wire::crc32(reinterpret_cast<const uint8_t*>(file_.data()), file_.size());
        end.payload = wire::encodeEndCheck({crc, length});
        const Outcome ended = ask_(end);
        member.finished = true;
        member.result = ended.status;
        if (ended.status != kResultAccepted) {
            trace::note(std::string("terminal ") + member.address + " refused the file at its end");
        }
        return {};
    }
    if (lack->held > member.heldInAll) {
        member.heldInAll = lack->held;
        member.roundsWithoutGain = 0;
    } else if (++member.roundsWithoutGain >= kRoundsWithoutGain) {
        trace::note(std::string("terminal ") + member.address +
                    " gains nothing: left to go on alone");
        fail(member, kResultNak);
        return {};
    }
    std::vector<wire::ByteRange> missing;
    for (const wire::ByteRange& range : lack->missing) {
        if (range.offset >= length) break;
        const auto end = std::min<uint64_t>(range.end(), length);
        missing.push_back({range.offset, static_cast<uint32_t>(end - range.offset)});
    }
    // A member that lacks bytes yet names no range is sent the rest whole.
    if (missing.empty()) missing.push_back({lack->prefix, length - std::min(lack->prefix, length)});
    if (missing.back().length == 0) missing.pop_back();
    return missing;
}

bool GroupDownload::awaitLine(std::chrono::milliseconds ahead) {
    for (;;) {
        if (platform::stopAsked()) return false;
        const auto now = line_.now();
        if (lineFreeAt_ <= now + ahead) return true;
        const auto rest =
            std::chrono::duration_cast<std::chrono::milliseconds>(lineFreeAt_ - now - ahead);
        line_.clock().sleepFor(std::clamp(rest, std::chrono::milliseconds(1),
                                          std::chrono::milliseconds(platform::kStopLookMs)));
    }
}

void GroupDownload::fail(Member& member, uint8_t status) {
    member.finished = true;
    member.result = status;
}

void GroupDownload::failAllOpen(uint8_t status) {
    for (Member& member : members_) {
        if (!member.finished) fail(member, status);
    }
}

}  // namespace pendra
