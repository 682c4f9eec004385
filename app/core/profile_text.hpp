#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelo::core {

// A profile file's text in memory, read and edited the way the Windows
// profile functions do it, so the file moves between Windows and Linux:
// - section and key names compare case-insensitively, and the first section
//   or key of a name is the one used;
// - a read yields at most the buffer size less one characters, and the
//   fallback when the section or key is missing;
// - a write replaces the value in place, or appends the key after the last
//   key of its section, or appends the section at the end.
// Everything else in the text (unknown keys and sections, comments, blank
// lines, each line's own line end) is kept as it was. Lines read with CR LF
// or LF alike; new lines take the line end the text already uses (CR LF for
// an empty text).
class ProfileText {
public:
    ProfileText() = default;
    explicit ProfileText(std::string_view contents);

    std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                     std::size_t bufferSize) const;
    // The value is cut at its first CR or LF: a value never adds lines.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    std::string Contents() const;

    // The line (from 1) that holds the key the reads use; 0 when missing.
    std::size_t LineNumberOf(std::string_view section, std::string_view key) const;

private:
    struct Line {
        std::string text;    // without its line end
        std::string ending;  // "\r\n", "\n", or "" for a last line without one
    };
    struct Range {
        std::size_t begin;  // first line after the section's header
        std::size_t end;    // the next header, or the end of the text
    };

    bool FindSection(std::string_view section, std::size_t& header, Range& range) const;
    bool FindKey(const Range& range, std::string_view key, std::size_t& index) const;
    void InsertLine(std::size_t index, std::string text);

    std::string byteOrderMark_;
    std::vector<Line> lines_;
    std::string newLineEnding_ = "\r\n";
};

}  // namespace zelo::core
