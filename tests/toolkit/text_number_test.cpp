#include <gtest/gtest.h>

#include <limits>

#include "toolkit/text_number.h"

TEST(TextNumber, ParsesLeadingDecimalsLikeAUserWouldType) {
    EXPECT_EQ(parseDecimalInteger("12abc"), 12);
    EXPECT_EQ(parseDecimalInteger("  -7"), -7);
    EXPECT_EQ(parseDecimalInteger("+3"), 3);
    EXPECT_EQ(parseDecimalInteger("abc"), 0);
    EXPECT_EQ(parseDecimalInteger(""), 0);
    EXPECT_EQ(parseDecimalInteger("- 3"), 0);
    EXPECT_EQ(parseDecimalInteger("99999999999999999999999"), std::numeric_limits<long>::max());
    EXPECT_EQ(parseDecimalInteger("-99999999999999999999999"), std::numeric_limits<long>::min());

    EXPECT_DOUBLE_EQ(parseDecimalReal("23.5"), 23.5);
    EXPECT_DOUBLE_EQ(parseDecimalReal(" -0.25 Hz"), -0.25);
    EXPECT_DOUBLE_EQ(parseDecimalReal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(parseDecimalReal("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(parseDecimalReal("inf"), 0.0);
    EXPECT_DOUBLE_EQ(parseDecimalReal("nan"), 0.0);
    EXPECT_DOUBLE_EQ(parseDecimalReal("1e999"), 0.0);
}
