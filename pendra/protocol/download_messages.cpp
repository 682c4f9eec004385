#include "download_messages.hpp"

#include "packed_bytes.hpp"

namespace pendra::wire {

namespace {

void appendNumber(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void appendShort(std::string& out, uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

uint16_t shortAt(std::string_view bytes, std::size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

uint32_t numberAt(std::string_view bytes, std::size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

}  // namespace

std::string encodeStreamData(uint8_t epoch, uint32_t offset, std::string_view bytes) {
    std::string payload(1, static_cast<char>(epoch));
    appendNumber(payload, offset);
    payload += bytes;
    return payload;
}

std::optional<StreamData> decodeStreamData(std::string_view payload) {
    if (payload.size() < kStreamDataHeader + 1 ||
        payload.size() > kStreamDataHeader + kStreamDataBytes) {
        return std::nullopt;
    }
    StreamData data;
    data.epoch = static_cast<uint8_t>(payload[0]);
    data.offset = numberAt(payload, 1);
    data.bytes = std::string(payload.substr(kStreamDataHeader));
    return data;
}

std::string encodePackedData(const PackedData& data) {
    std::string payload(1, static_cast<char>(data.epoch));
    appendNumber(payload, data.offset);
    appendShort(payload, data.rawLength);
    appendShort(payload, data.dictionaryLength);
    payload += data.packed;
    return payload;
}

std::optional<PackedData> decodePackedData(std::string_view payload) {
    if (payload.size() < kPackedDataHeader + 1) return std::nullopt;
    PackedData data;
    data.epoch = static_cast<uint8_t>(payload[0]);
    data.offset = numberAt(payload, 1);
    data.rawLength = shortAt(payload, 5);
    data.dictionaryLength = shortAt(payload, 7);
    if (data.rawLength == 0 || data.rawLength > kMaxPackedRaw ||
        data.dictionaryLength > kMaxDictionary || data.dictionaryLength > data.offset) {
        return std::nullopt;
    }
    data.packed = std::string(payload.substr(kPackedDataHeader));
    return data;
}

std::string encodeStreamHeld(const StreamHeld& held) {
    std::string payload(1, static_cast<char>(held.epoch));
    appendNumber(payload, held.stored);
    return payload;
}

std::optional<StreamHeld> decodeStreamHeld(std::string_view payload) {
    if (payload.size() != 5) return std::nullopt;
    return StreamHeld{static_cast<uint8_t>(payload[0]), numberAt(payload, 1)};
}

std::string encodeEndCheck(const EndCheck& check) {
    std::string payload;
    appendNumber(payload, check.crc);
    appendNumber(payload, check.length);
    return payload;
}

std::optional<EndCheck> decodeEndCheck(std::string_view payload) {
    if (payload.size() != 8) return std::nullopt;
    return EndCheck{numberAt(payload, 0), numberAt(payload, 4)};
}

}  // namespace pendra::wire
