#include "protocol/InfoMessageText.h"

#include <gtest/gtest.h>

using namespace qireq;

TEST(InfoMessageText, WordsAreSingularBelowTwo)
{
    EXPECT_EQ(InfoMessageText(0, 0),
              QStringLiteral("Burning success times:0\nTime:0 day, 0 hour, 0 minute"));
    EXPECT_EQ(InfoMessageText(3, 1441),
              QStringLiteral("Burning success times:3\nTime:1 day, 0 hour, 1 minute"));
    EXPECT_EQ(InfoMessageText(12, 2880),
              QStringLiteral("Burning success times:12\nTime:2 days, 0 hour, 0 minute"));
    EXPECT_EQ(InfoMessageText(1, 2 * 1440 + 2 * 60 + 2),
              QStringLiteral("Burning success times:1\nTime:2 days, 2 hours, 2 minutes"));
    EXPECT_EQ(InfoMessageText(255, 1439),
              QStringLiteral("Burning success times:255\nTime:0 day, 23 hours, 59 minutes"));
}

TEST(InfoMessageText, LargestReplyAndNegativeMinutes)
{
    // 65535 + 10000 * 65535 minutes, the most a reply can carry.
    EXPECT_EQ(InfoMessageText(255, 655415535),
              QStringLiteral("Burning success times:255\nTime:455149 days, 16 hours, 15 minutes"));
    EXPECT_EQ(InfoMessageText(0, -5),
              QStringLiteral("Burning success times:0\nTime:0 day, 0 hour, 0 minute"));
}
