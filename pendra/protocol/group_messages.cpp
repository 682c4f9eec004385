#include "group_messages.hpp"

namespace pendra::wire {

namespace {

void appendNumber(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t numberAt(std::string_view bytes, std::size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

constexpr uint64_t kFourGiB = uint64_t{1} << 32;

}  // namespace

std::string encodeJoin(uint8_t group) { return std::string(1, static_cast<char>(group)); }

std::optional<uint8_t> decodeJoin(std::string_view payload) {
    if (payload.size() != 1) return std::nullopt;
    return static_cast<uint8_t>(payload[0]);
}

std::string encodeLackQuestion(const LackQuestion& question) {
    std::string payload(1, static_cast<char>(question.group));
    appendNumber(payload, question.length);
    return payload;
}

std::optional<LackQuestion> decodeLackQuestion(std::string_view payload) {
    if (payload.size() != 5) return std::nullopt;
    return LackQuestion{static_cast<uint8_t>(payload[0]), numberAt(payload, 1)};
}

std::string encodeLack(const Lack& lack) {
    std::string payload(1, static_cast<char>(lack.group));
    appendNumber(payload, lack.prefix);
    appendNumber(payload, lack.held);
    for (const ByteRange& range : lack.missing) {
        appendNumber(payload, range.offset);
        appendNumber(payload, range.length);
    }
    return payload;
}

std::optional<Lack> decodeLack(std::string_view payload) {
    if (payload.size() < kLackHeader || (payload.size() - kLackHeader) % kLackRangeBytes != 0) {
        return std::nullopt;
    }
    const std::size_t count = (payload.size() - kLackHeader) / kLackRangeBytes;
    if (count > kMaxLackRanges) return std::nullopt;
    Lack lack;
    lack.group = static_cast<uint8_t>(payload[0]);
    lack.prefix = numberAt(payload, 1);
    lack.held = numberAt(payload, 5);
    if (lack.held < lack.prefix) return std::nullopt;
    uint64_t after = lack.prefix;  // where the next range may start
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kLackHeader + i * kLackRangeBytes;
        const ByteRange range{numberAt(payload, at), numberAt(payload, at + 4)};
        if (range.length == 0 || range.offset < after || range.end() > kFourGiB) {
            return std::nullopt;
        }
        after = range.end();
        lack.missing.push_back(range);
    }
    return lack;
}

}  // namespace pendra::wire
