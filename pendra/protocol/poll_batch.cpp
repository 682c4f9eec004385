#include "poll_batch.hpp"

#include <algorithm>

#include "frame.hpp"

namespace pendra::wire {

PackedRecords packRecords(const std::vector<std::string>& records, std::size_t most) {
    PackedRecords packed;
    if (records.empty() || records.front().size() > kMaxPayload) return packed;
    most = std::clamp<std::size_t>(most, 1, kMaxPollBatch);
    std::string list;
    std::size_t count = 0;
    for (const std::string& record : records) {
        if (count == most || record.size() > 0xFF ||
            list.size() + 1 + record.size() > kMaxPayload) {
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

}  // namespace pendra::wire
