#include "core/value_decoding.hpp"

#include <gtest/gtest.h>

#include <climits>

#include "core/terminal_types.hpp"

namespace zelo::core {
namespace {

TEST(DecodeInteger, LeadingDigitsOnlyAndSaturatesInsteadOfWrapping) {
    EXPECT_EQ(DecodeInteger("400"), 400);
    EXPECT_EQ(DecodeInteger("02"), 2);
    EXPECT_EQ(DecodeInteger("12abc"), 12);
    EXPECT_EQ(DecodeInteger("abc"), 0);
    EXPECT_EQ(DecodeInteger(""), 0);
    EXPECT_EQ(DecodeInteger(" -5"), -5);
    EXPECT_EQ(DecodeInteger("99999999999999999999"), INT_MAX);
    EXPECT_EQ(DecodeInteger("-99999999999999999999"), INT_MIN);
}

TEST(NormalizeTimeText, MissingPartsAreZeroAndEachPartTwoDigits) {
    EXPECT_EQ(NormalizeTimeText("7:5"), "07:05:00");
    EXPECT_EQ(NormalizeTimeText("6:0:0"), "06:00:00");
    EXPECT_EQ(NormalizeTimeText("23:59:59"), "23:59:59");
    EXPECT_EQ(NormalizeTimeText(""), "00:00:00");
    EXPECT_EQ(NormalizeTimeText("12"), "12:00:00");
    EXPECT_EQ(NormalizeTimeText("1:2:3:4"), "01:02:03");
    EXPECT_EQ(NormalizeTimeText("::5"), "00:00:05");
    EXPECT_EQ(NormalizeTimeText("x:y"), "00:00:00");
}

TEST(FilterAddresses, KeepsOnlyTerminalAddressesUpperCased) {
    EXPECT_EQ(FilterAddresses("a,b;Z9"), "AB");
    EXPECT_EQ(FilterAddresses("y0z6 7Y"), "Y06Y");
    EXPECT_EQ(FilterAddresses("Zz!"), "");
}

TEST(BaudRates, UnknownRateIs9600) {
    EXPECT_EQ(BaudIndexOfRate(110), 0);
    EXPECT_EQ(BaudIndexOfRate(57600), 9);
    EXPECT_EQ(BaudIndexOfRate(14400), 6);
    EXPECT_EQ(BaudRateOfIndex(6), 9600);
    EXPECT_EQ(BaudRateOfIndex(42), 9600);
}

TEST(MatchTerminalType, BeginningOfTheValueWithoutCase) {
    EXPECT_EQ(MatchTerminalType("Gravo/Halda"), 0);
    EXPECT_EQ(MatchTerminalType("gravo"), 0);
    EXPECT_EQ(MatchTerminalType("Halda"), std::nullopt);
    EXPECT_EQ(MatchTerminalType("BRISA 2"), 6);
    EXPECT_EQ(MatchTerminalType("Delmar"), 4);
    EXPECT_EQ(MatchTerminalType("Est"), std::nullopt);
    EXPECT_EQ(MatchTerminalType("Q"), std::nullopt);
    for (int type = 0; type <= 6; ++type) {
        EXPECT_EQ(MatchTerminalType(TerminalTypeName(type)), type) << "written names read back";
    }
}

TEST(ParseTimeText, SplitsAtColonsWithMissingPartsZero) {
    const TimeParts parts = ParseTimeText("22:5");
    EXPECT_EQ(parts.hour, 22);
    EXPECT_EQ(parts.minute, 5);
    EXPECT_EQ(parts.second, 0);
    EXPECT_EQ(ParseTimeText("1:2:3").second, 3);
}

}  // namespace
}  // namespace zelo::core
