#include "core/profile_text.hpp"

#include <algorithm>

namespace zelo::core {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// "[name]" with blanks allowed around; the name is what stands between.
bool ParseHeader(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return false;
    line.remove_prefix(1);
    name = Trim(line.substr(0, line.find(']')));
    return true;
}

// "key=value"; comment lines (starting with ';') never hold a key.
bool ParseEntry(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return false;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) return false;
    key = Trim(trimmed.substr(0, equals));
    value = Trim(trimmed.substr(equals + 1));
    // A value in matching quotes is read without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return true;
}

std::string_view UpToFirstLineBreak(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

ProfileText::ProfileText(std::string_view contents) {
    // Editors that save UTF-8 may put a byte-order mark first; it is kept
    // but must not hide the first section's header.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (contents.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        byteOrderMark_ = kByteOrderMark;
        contents.remove_prefix(kByteOrderMark.size());
    }
    bool endingChosen = false;
    while (!contents.empty()) {
        const std::size_t newline = contents.find('\n');
        Line line;
        if (newline == std::string_view::npos) {
            line.text = std::string(contents);
            contents = {};
        } else {
            const bool crlf = newline > 0 && contents[newline - 1] == '\r';
            line.text = std::string(contents.substr(0, crlf ? newline - 1 : newline));
            line.ending = crlf ? "\r\n" : "\n";
            contents.remove_prefix(newline + 1);
            if (!endingChosen) {
                newLineEnding_ = line.ending;
                endingChosen = true;
            }
        }
        lines_.push_back(std::move(line));
    }
}

bool ProfileText::FindSection(std::string_view section, std::size_t& header, Range& range) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view name;
        if (!ParseHeader(lines_[i].text, name) || !SameName(name, section)) continue;
        header = i;
        range.begin = i + 1;
        range.end = range.begin;
        while (range.end < lines_.size() && !ParseHeader(lines_[range.end].text, name)) {
            ++range.end;
        }
        return true;
    }
    return false;
}

std::size_t ProfileText::LineNumberOf(std::string_view section, std::string_view key) const {
    std::size_t header = 0, index = 0;
    Range range{};
    if (!FindSection(section, header, range) || !FindKey(range, key, index)) return 0;
    return index + 1;
}

bool ProfileText::FindKey(const Range& range, std::string_view key, std::size_t& index) const {
    for (std::size_t i = range.begin; i < range.end; ++i) {
        std::string_view name, value;
        if (ParseEntry(lines_[i].text, name, value) && SameName(name, key)) {
            index = i;
            return true;
        }
    }
    return false;
}

std::string ProfileText::Read(std::string_view section, std::string_view key,
                              std::string_view fallback, std::size_t bufferSize) const {
    std::string_view found = fallback;
    std::size_t header = 0, index = 0;
    Range range{};
    if (FindSection(section, header, range) && FindKey(range, key, index)) {
        std::string_view name;
        ParseEntry(lines_[index].text, name, found);
    }
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    return std::string(found.substr(0, std::min(room, found.size())));
}

void ProfileText::InsertLine(std::size_t index, std::string text) {
    // The line before may be a last line without a line end.
    if (index > 0 && lines_[index - 1].ending.empty()) lines_[index - 1].ending = newLineEnding_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  Line{std::move(text), newLineEnding_});
}

void ProfileText::Write(std::string_view section, std::string_view key, std::string_view value) {
    value = UpToFirstLineBreak(value);
    std::size_t header = 0, index = 0;
    Range range{};
    if (!FindSection(section, header, range)) {
        InsertLine(lines_.size(), "[" + std::string(section) + "]");
        InsertLine(lines_.size(), std::string(key) + "=" + std::string(value));
        return;
    }
    if (FindKey(range, key, index)) {
        // Keep the key as the file spells it, and any indentation before it.
        std::string& text = lines_[index].text;
        text = text.substr(0, text.find('=') + 1) + std::string(value);
        return;
    }
    std::size_t after = header + 1;
    for (std::size_t i = range.begin; i < range.end; ++i) {
        std::string_view name, existing;
        if (ParseEntry(lines_[i].text, name, existing)) after = i + 1;
    }
    InsertLine(after, std::string(key) + "=" + std::string(value));
}

std::string ProfileText::Contents() const {
    std::string contents = byteOrderMark_;
    for (const Line& line : lines_) {
        contents += line.text;
        contents += line.ending;
    }
    return contents;
}

}  // namespace zelo::core
