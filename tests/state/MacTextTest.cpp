#include "state/MacText.h"

#include <gtest/gtest.h>

using namespace qireq;

TEST(MacText, BytesToTwelveUpperCaseDigitsAndBack)
{
    const MacBytes mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    EXPECT_EQ(MacToText(mac), QStringLiteral("001A2B3C4D5E"));
    EXPECT_EQ(MacToText({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), QStringLiteral("FFFFFFFFFFFF"));
    EXPECT_EQ(TextToMac(QStringLiteral("001A2B3C4D5E")), mac);
    EXPECT_EQ(TextToMac(QStringLiteral("001a2b3c4d5e")), mac);
    EXPECT_EQ(TextToMac(QStringLiteral("00A1B0F09C7d")),
              (MacBytes{0x00, 0xA1, 0xB0, 0xF0, 0x9C, 0x7D}));
}

TEST(MacText, TextThatIsNotTwelveHexDigitsIsRefused)
{
    for (const char* bad : {"", "001A2B3C4D5", "001A2B3C4D5E0", "00:1A:2B:3C:4D:5E", "001A2B3C4D5G",
                            " 01A2B3C4D5E", "0x1A2B3C4D5E", "-01A2B3C4D5E"})
        EXPECT_FALSE(TextToMac(QString::fromLatin1(bad))) << bad;
    // Full-width digits are digits to Unicode, not to a unit.
    EXPECT_FALSE(TextToMac(QString::fromUtf8("\xEF\xBC\x90") + QStringLiteral("01A2B3C4D5E")));
}

TEST(MacText, FormatJoinsBytePairsWithTheSeparator)
{
    EXPECT_EQ(FormatMac(QStringLiteral("001A2B3C4D5E"), QStringLiteral(":")),
              QStringLiteral("00:1A:2B:3C:4D:5E"));
    EXPECT_EQ(FormatMac(QStringLiteral("001A2"), QStringLiteral(":")), QStringLiteral("00:1A:2"));
    EXPECT_EQ(FormatMac(QString(), QStringLiteral(":")), QString());
}

TEST(MacText, WithColonsAndAsPeopleTypeIt)
{
    const MacBytes mac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    EXPECT_EQ(MacWithColons(mac), QStringLiteral("00:1A:2B:3C:4D:5E"));
    for (const char* typed : {"00:1a:2b:3c:4d:5e", "00-1A-2B-3C-4D-5E", "001A2B3C4D5E"})
        EXPECT_EQ(ParseMacAddress(QString::fromLatin1(typed)), mac) << typed;
    for (const char* bad : {"00:1A-2B:3C:4D:5E", "00:1A:2B:3C:4D5E", "00.1A.2B.3C.4D.5E", "00:1A:2B:3C:4D:5G"})
        EXPECT_FALSE(ParseMacAddress(QString::fromLatin1(bad))) << bad;
}
