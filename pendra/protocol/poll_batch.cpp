#include "poll_batch.hpp"

#include <algorithm>

#include "frame.hpp"

namespace pendra::wire {

PackedRecords packRecords(const std::vector<std::string>& records, std::size_t most,
                          std::size_t room) {
    PackedRecords packed;
    room = std::min(room, kMaxPayload);
    if (records.empty() || records.front().size() > room) return packed;
    most = std::clamp<std::size_t>(most, 1, kMaxPollBatch);
    std::string list;
    std::size_t count = 0;
    for (const std::string& record : records) {
        if (count == most || record.size() > 0xFF || list.size() + 1 + record.size() > room) {
            break;
        }
        list.push_back(static_cast<char>(record.size()));
        list += record;
        ++count;
    }
    if (count <= 1) {
        packed.payload = records.front();
        packed.records = 1;
        return packed;
    }
    packed.payload = std::move(list);
    packed.listed = true;
    packed.records = count;
    return packed;
}

std::optional<std::vector<std::string>> unpackRecords(const std::string& payload, bool listed) {
    if (!listed) return std::vector<std::string>{payload};
    std::vector<std::string> records;
    std::size_t at = 0;
    while (at < payload.size()) {
        const std::size_t length = static_cast<uint8_t>(payload[at]);
        ++at;
        if (length > payload.size() - at || records.size() == kMaxPollBatch) return std::nullopt;
        records.push_back(payload.substr(at, length));
        at += length;
    }
    if (records.empty()) return std::nullopt;
    return records;
}

namespace {

constexpr std::size_t kNumberBytes = 4;

std::string numberBytes(uint32_t number) {
    std::string bytes(kNumberBytes, '\0');
    for (std::size_t i = 0; i < kNumberBytes; ++i)
        bytes[i] = static_cast<char>((number >> (8 * (kNumberBytes - 1 - i))) & 0xFF);
    return bytes;
}

uint32_t readNumber(const std::string& bytes, std::size_t at) {
    uint32_t number = 0;
    for (std::size_t i = 0; i < kNumberBytes; ++i)
        number = (number << 8) | static_cast<uint8_t>(bytes[at + i]);
    return number;
}

}  // namespace

PackedRecords packNumberedRecords(uint32_t first, const std::vector<std::string>& records,
                                  std::size_t most) {
    PackedRecords packed = packRecords(records, most, kMaxPayload - kNumberBytes);
    if (packed.records > 0) packed.payload.insert(0, numberBytes(first));
    return packed;
}

std::optional<NumberedRecords> unpackNumberedRecords(const std::string& payload, bool listed) {
    if (payload.size() < kNumberBytes) return std::nullopt;
    NumberedRecords numbered;
    numbered.first = readNumber(payload, 0);
    auto records = unpackRecords(payload.substr(kNumberBytes), listed);
    if (numbered.first == 0 || !records || records->size() - 1 > UINT32_MAX - numbered.first) {
        return std::nullopt;
    }
    numbered.records = std::move(*records);
    return numbered;
}

std::string batchRequestPayload(std::size_t most, std::optional<uint32_t> storedThrough,
                                const std::string& callerBytes) {
    most = std::clamp<std::size_t>(most, 1, kMaxPollBatch);
    std::string payload(1, static_cast<char>(most | (storedThrough ? kNumberedBatch : 0)));
    if (storedThrough) payload += numberBytes(*storedThrough);
    return payload + callerBytes.substr(0, kMaxPayload - payload.size());
}

BatchAsked readBatchRequest(const std::string& payload) {
    BatchAsked asked;
    if (payload.empty()) return asked;
    const auto first = static_cast<uint8_t>(payload[0]);
    asked.most = std::clamp<std::size_t>(first & ~kNumberedBatch, 1, kMaxPollBatch);
    std::size_t at = 1;
    if ((first & kNumberedBatch) != 0 && payload.size() >= 1 + kNumberBytes) {
        asked.storedThrough = readNumber(payload, 1);
        at += kNumberBytes;
    }
    asked.callerBytes = payload.substr(at);
    return asked;
}

}  // namespace pendra::wire
