#include "file_names.hpp"

#include <algorithm>
#include <cctype>

namespace termsim {

bool isSafeFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxFileNameLength || name.front() == '.') return false;
    constexpr std::string_view kForbidden = "/\\:*?\"<>|";
    return std::all_of(name.begin(), name.end(), [&](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F && kForbidden.find(c) == std::string_view::npos;
    });
}

std::optional<TerminalFileName> parseTerminalFileName(std::string_view text, bool allowRomSuffix) {
    TerminalFileName parsed;
    constexpr std::string_view kEmsPrefix = "C:";
    constexpr std::string_view kRomSuffix = "/ROM";
    if (text.size() > kEmsPrefix.size() && equalsIgnoringCase(text.substr(0, 2), kEmsPrefix)) {
        parsed.drive = Drive::Ems;
        text.remove_prefix(kEmsPrefix.size());
    } else if (allowRomSuffix && text.size() > kRomSuffix.size() &&
               equalsIgnoringCase(text.substr(text.size() - kRomSuffix.size()), kRomSuffix)) {
        parsed.drive = Drive::Flash;
        text.remove_suffix(kRomSuffix.size());
    }
    if (!isSafeFileName(text)) return std::nullopt;
    parsed.name = std::string(text);
    return parsed;
}

std::string_view stemOf(std::string_view name) { return name.substr(0, name.find('.')); }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace termsim
