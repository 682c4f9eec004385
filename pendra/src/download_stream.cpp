#include "download_stream.hpp"

namespace pendra {

std::optional<uint64_t> resumeOffset(std::string_view text) {
    if (text.size() < 4 || text[0] != 'L' || text.back() != ']') return std::nullopt;
    const auto open = text.rfind('[');
    if (open == std::string_view::npos || open < 1) return std::nullopt;
    const std::string_view digits = text.substr(open + 1, text.size() - open - 2);
    // As the terminal reads it: 1 to 18 digits.
    if (digits.empty() || digits.size() > 18) return std::nullopt;
    uint64_t offset = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        offset = offset * 10 + static_cast<uint64_t>(c - '0');
    }
    return offset;
}

DownloadText downloadTextKind(std::string_view text) {
    if (text.empty()) return DownloadText::Other;
    switch (text[0]) {
        case 'L': return resumeOffset(text) ? DownloadText::Resume : DownloadText::Announce;
        case 'Y': return DownloadText::Data;
        case 'Z': return text.size() == 1 ? DownloadText::End : DownloadText::Other;
        case 'z': return text.size() == 1 ? DownloadText::Cancel : DownloadText::Other;
        default: return DownloadText::Other;
    }
}

bool isVersionList(std::string_view payload) {
    if (payload.empty() || payload[0] != 1) return false;
    for (std::size_t i = 1; i < payload.size(); ++i) {
        const auto version = static_cast<uint8_t>(payload[i]);
        if (version >= 0x20 || version <= static_cast<uint8_t>(payload[i - 1])) return false;
    }
    return true;
}

}  // namespace pendra
