#include "presets/IntegerText.h"

#include <gtest/gtest.h>

using qireq::ParseIntegerText;

TEST(IntegerText, AcceptsDecimalHexAndSignForms)
{
    EXPECT_EQ(ParseIntegerText("74"), 74);
    EXPECT_EQ(ParseIntegerText("0x4A"), 74);
    EXPECT_EQ(ParseIntegerText("0X4a"), 74);
    EXPECT_EQ(ParseIntegerText("$4A"), 74);
    EXPECT_EQ(ParseIntegerText("x4A"), 74);
    EXPECT_EQ(ParseIntegerText("X4A"), 74);
    EXPECT_EQ(ParseIntegerText("   +12"), 12);
    EXPECT_EQ(ParseIntegerText("\t-1"), -1);
    EXPECT_EQ(ParseIntegerText("-0x10"), -16);
    EXPECT_EQ(ParseIntegerText("007"), 7);
}

TEST(IntegerText, ThirtyTwoBitLimits)
{
    EXPECT_EQ(ParseIntegerText("2147483647"), 2147483647);
    EXPECT_EQ(ParseIntegerText("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseIntegerText("$FFFFFFFF"), -1);
    EXPECT_FALSE(ParseIntegerText("2147483648"));
    EXPECT_FALSE(ParseIntegerText("$100000000"));
    EXPECT_FALSE(ParseIntegerText("99999999999999999999999"));
}

TEST(IntegerText, RefusesEverythingElse)
{
    for (const char* bad : {"", " ", "-", "+", "0x", "$", "12 ", "1 2", "0x4G", "4A", "1.0",
                            "--1", "+-1", "0b1", " 0x 4"}) {
        EXPECT_FALSE(ParseIntegerText(bad)) << '"' << bad << '"';
    }
}
