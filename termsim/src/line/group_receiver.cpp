#include "group_receiver.hpp"

#include <algorithm>

#include "escaped_form.hpp"
#include "group_messages.hpp"
#include "packed_bytes.hpp"

namespace termsim {

namespace wire = pendra::wire;

namespace {

constexpr uint8_t kAccepted = 4;
constexpr uint8_t kRefused = 7;

wire::Reply statusOnly(uint8_t status) {
    wire::Reply reply;
    reply.status = status;
    return reply;
}

}  // namespace

std::optional<wire::Reply> GroupReceiver::join(const wire::Request& request) {
    if (!terminals_.servesAddress(request.address)) return std::nullopt;
    members_.erase(request.address);
    const auto group = wire::decodeJoin(request.payload);
    // Only a download just announced joins: the group sends the whole file.
    const auto stored = terminals_.downloadLength(request.address);
    // Refused by the terminal itself when it has no download open (nobody
    // there: no answer at all).
    if (!stored) return terminals_.handle(request);
    if (!group || *stored != 0) return statusOnly(kRefused);
    members_[request.address].group = *group;
    wire::Reply reply = statusOnly(kAccepted);
    reply.payload = wire::encodeJoin(*group);
    return reply;
}

std::vector<char> GroupReceiver::members() const {
    std::vector<char> addresses;
    for (const auto& entry : members_) addresses.push_back(entry.first);
    return addresses;
}

void GroupReceiver::frame(char address, const wire::Request& request) {
    const auto found = members_.find(address);
    if (found == members_.end() || !terminals_.servesAddress(address)) return;
    Membership& membership = found->second;
    uint8_t group = 0;
    uint64_t offset = 0;
    Aside frame;
    if (request.command == wire::Command::GroupPacked) {
        auto packed = wire::decodePackedData(request.payload);
        if (!packed) return;
        group = packed->epoch;
        offset = packed->offset;
        frame.length = packed->rawLength;
        frame.packed = std::move(packed);
    } else {
        auto data = wire::decodeStreamData(request.payload);
        if (!data) return;
        group = data->epoch;
        offset = data->offset;
        frame.length = static_cast<uint32_t>(data->bytes.size());
        frame.raw = std::move(data->bytes);
    }
    if (group != membership.group) return;  // an earlier group's
    const auto stored = terminals_.downloadLength(address);
    if (!stored) {
        leave(address);  // the download is gone
        return;
    }
    if (offset + frame.length <= *stored) return;  // held already
    if (offset <= *stored) {
        if (take(address, offset, frame, *stored)) takeAside(address, membership);
        return;
    }
    // Past a gap: held aside until the gap is filled, within bounds.
    const auto existing = membership.aside.find(offset);
    if (existing != membership.aside.end() && existing->second.length >= frame.length) return;
    if (membership.asideBytes + frame.footprint() > kMaxAsideBytes ||
        membership.aside.size() >= kMaxAsideFrames) {
        return;
    }
    if (existing != membership.aside.end()) {
        membership.asideBytes -= existing->second.footprint();
        membership.aside.erase(existing);
    }
    membership.asideBytes += frame.footprint();
    membership.aside.emplace(offset, std::move(frame));
}

bool GroupReceiver::take(char address, uint64_t offset, const Aside& frame, uint64_t stored) {
    std::string bytes = frame.raw;
    if (frame.packed) {
        // The dictionary is the file's bytes before the frame, which the
        // terminal holds since the frame starts no further than its length.
        const auto file = terminals_.downloadedBytes(address);
        if (!file || file->size() < offset) return false;
        const auto dictionary = std::string_view(*file).substr(
            static_cast<std::size_t>(offset) - frame.packed->dictionaryLength,
            frame.packed->dictionaryLength);
        auto unpacked = wire::unpack(dictionary, frame.packed->packed, frame.packed->rawLength);
        if (!unpacked) return false;  // never stored as it came
        bytes = std::move(*unpacked);
    }
    bytes.erase(0, static_cast<std::size_t>(stored - offset));
    if (flipStoredByte_ && *flipStoredByte_ >= stored && *flipStoredByte_ - stored < bytes.size()) {
        bytes[static_cast<std::size_t>(*flipStoredByte_ - stored)] ^= 1;
    }
    wire::Request packet;
    packet.command = wire::Command::Text;
    packet.address = address;
    packet.payload = "Y" + zelo::escaped(bytes);
    const auto answer = terminals_.handle(packet);
    return answer && answer->status == kAccepted;
}

void GroupReceiver::takeAside(char address, Membership& membership) {
    while (!membership.aside.empty()) {
        const auto stored = terminals_.downloadLength(address);
        const auto first = membership.aside.begin();
        if (!stored || first->first > *stored) return;
        const uint64_t offset = first->first;
        const Aside frame = std::move(first->second);
        membership.asideBytes -= frame.footprint();
        membership.aside.erase(first);
        // One that cannot be taken is dropped: the range is lacked and asked for.
        if (offset + frame.length > *stored) take(address, offset, frame, *stored);
    }
}

std::optional<wire::Reply> GroupReceiver::lack(const wire::Request& request) {
    if (!terminals_.servesAddress(request.address)) return std::nullopt;
    const auto found = members_.find(request.address);
    const auto question = wire::decodeLackQuestion(request.payload);
    const auto stored = terminals_.downloadLength(request.address);
    if (!stored) return terminals_.handle(request);
    if (found == members_.end() || !question || question->group != found->second.group) {
        return statusOnly(kRefused);
    }
    const uint64_t length = question->length;
    wire::Lack lack;
    lack.group = question->group;
    lack.prefix = static_cast<uint32_t>(std::min<uint64_t>(*stored, UINT32_MAX));
    uint64_t held = *stored;
    uint64_t cursor = *stored;  // everything before it is held or named
    const auto lacking = [&](uint64_t from, uint64_t to) {
        if (to > length) to = length;
        if (from >= to || lack.missing.size() >= wire::kMaxLackRanges) return;
        lack.missing.push_back({static_cast<uint32_t>(from), static_cast<uint32_t>(to - from)});
    };
    for (const auto& [offset, frame] : found->second.aside) {
        const uint64_t end = offset + frame.length;
        if (end <= cursor) continue;
        if (offset > cursor) lacking(cursor, offset);
        held += end - std::max(offset, cursor);
        cursor = end;
    }
    lacking(cursor, length);
    lack.held = static_cast<uint32_t>(std::min<uint64_t>(held, UINT32_MAX));
    wire::Reply reply = statusOnly(kAccepted);
    reply.payload = wire::encodeLack(lack);
    return reply;
}

}  // namespace termsim
