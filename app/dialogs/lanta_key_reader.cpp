#include "dialogs/lanta_key_reader.hpp"

#include <cctype>

namespace zelo::dialogs {
namespace {

// Calls visit(line, number) for each line without its LF (and a CR just
// before it) until visit returns true; the line is cut at a NUL byte, as
// a C line reader sees it. Returns the number of the line that stopped it,
// or 0.
template <typename Visit>
int ForEachLine(std::string_view text, Visit visit) {
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (visit(line.substr(0, line.find('\0')), number)) return number;
    }
    return 0;
}

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Both texts are cut at the first position where either holds a space,
// then compared without regard to case. Works on views, so neither text is
// changed or read beyond its end.
bool KeysMatch(std::string_view lineKey, std::string_view searched) {
    std::size_t cut = 0;
    bool spaceFound = false;
    for (; cut < lineKey.size(); ++cut) {
        if (lineKey[cut] == ' ' || (cut < searched.size() && searched[cut] == ' ')) {
            spaceFound = true;
            break;
        }
    }
    if (spaceFound) {
        lineKey = lineKey.substr(0, cut);
        searched = searched.substr(0, cut);
    }
    // A line whose key is blank names nothing.
    if (lineKey.empty() || lineKey.size() != searched.size()) return false;
    for (std::size_t i = 0; i < lineKey.size(); ++i) {
        if (Upper(lineKey[i]) != Upper(searched[i])) return false;
    }
    return true;
}

std::string_view UpToLineEnd(std::string_view text) { return text.substr(0, text.find('\r')); }

}  // namespace

int FirstOverlongLantaLine(std::string_view fileText) {
    return ForEachLine(fileText,
                       [](std::string_view line, int) { return line.size() > kMaxLantaLine; });
}

LantaKey ReadLantaKey(std::string_view fileText, std::string_view key) {
    LantaKey found;
    const int stop = ForEachLine(fileText, [&](std::string_view line, int) {
        if (line.size() > kMaxLantaLine) {
            found.result = kLantaLineTooLong;
            return true;
        }
        const std::size_t first = line.find('=');
        const std::size_t last = line.rfind('=');
        if (first == std::string_view::npos || last == 0) return false;
        if (!KeysMatch(UpToLineEnd(line.substr(0, first)), key)) return false;
        found.result = kLantaKeyFound;
        found.value = std::string(UpToLineEnd(line.substr(last + 1)));
        return true;
    });
    found.lineNumber = stop;
    return found;
}

}  // namespace zelo::dialogs
