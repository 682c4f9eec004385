#include "escaped_form.hpp"

#include <gtest/gtest.h>

#include "escaped_form_cases.hpp"

TEST(EscapedForm, EachByteClass) {
    for (const test_support::EscapedFormCase& c : test_support::EscapedFormCases()) {
        EXPECT_EQ(zelo::escaped(c.bytes), c.escaped) << ::testing::PrintToString(c.bytes);
    }
}

TEST(EscapedForm, NoZeroByteAndAtMostTwiceAsLong) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string out = zelo::escaped(all);
    EXPECT_EQ(out.find('\0'), std::string::npos);
    EXPECT_LE(out.size(), 2 * all.size());
}
