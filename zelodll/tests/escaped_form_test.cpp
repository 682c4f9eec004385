#include "escaped_form.hpp"

#include <gtest/gtest.h>

TEST(EscapedForm, EachByteClass) {
    // 00, 41, 5C, DC, E1: the example every download packet must match.
    EXPECT_EQ(zelo::escaped(std::string("\x00\x41\x5C\xDC\xE1", 5)),
              std::string("\\\x80\x41\\\\\xDC\\\x61"));
    EXPECT_EQ(zelo::escaped(std::string("\x1F\x20\x9F\xA0\xFF", 5)),
              std::string("\\\x9F\x20\x9F\\\x20\\\x7F"));
}

TEST(EscapedForm, NoZeroByteAndAtMostTwiceAsLong) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string out = zelo::escaped(all);
    EXPECT_EQ(out.find('\0'), std::string::npos);
    EXPECT_LE(out.size(), 2 * all.size());
}
