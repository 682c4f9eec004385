// The escaped form data travels in, byte class by byte class. The library
// writes the form; the program, which sees only the library's interface,
// keeps its own count of the form's length to refuse an over-long text
// before anything is sent. Both are tested against these cases, so the two
// cannot drift apart.
#pragma once

#include <string>
#include <vector>

namespace test_support {

struct EscapedFormCase {
    std::string bytes;
    std::string escaped;
};

inline std::vector<EscapedFormCase> EscapedFormCases() {
    using namespace std::string_literals;
    return {
        {""s, ""s},
        {"ab"s, "ab"s},
        // Control bytes: a backslash, then the byte with bit 7 set.
        {"\x00\x01\x1F"s, "\\\x80\\\x81\\\x9F"s},
        // The backslash doubles; the rest of 20..9F stands as it is.
        {"\\"s, "\\\\"s},
        {"\x20\x41\x7F\x80\x9F"s, "\x20\x41\x7F\x80\x9F"s},
        // Above 9F: a backslash, then the byte with bit 7 cleared; but DC.
        {"\xA0\xDB\xDC\xDD\xFF"s, "\\\x20\\\x5B\xDC\\\x5D\\\x7F"s},
        // The example every download packet must match.
        {"\x00\x41\x5C\xDC\xE1"s, "\\\x80\x41\\\\\xDC\\\x61"s},
    };
}

}  // namespace test_support
