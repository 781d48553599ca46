// The units of one simulator process: the address list and what numbers
// each unit.
#include "SimUnitList.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace qireq::sim;

namespace {

// The addresses as dotted text, or the error.
QStringList Units(const QString& text)
{
    std::vector<QHostAddress> addresses;
    if (const QString error = ParseUnitList(text, addresses); !error.isEmpty())
        return {QStringLiteral("error: ") + error};
    QStringList list;
    for (const QHostAddress& address : addresses)
        list << address.toString();
    return list;
}

}  // namespace

TEST(SimUnitList, AddressesAndRangesInListedOrder)
{
    const QStringList last = Units(QStringLiteral("10.77.1.1-250"));
    ASSERT_EQ(last.size(), 250);
    EXPECT_EQ(last.front(), QStringLiteral("10.77.1.1"));
    EXPECT_EQ(last.back(), QStringLiteral("10.77.1.250"));
    EXPECT_EQ(Units(QStringLiteral("127.0.0.2-127.0.0.5")),
              QStringList({"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5"}));
    EXPECT_EQ(Units(QStringLiteral("10.77.1.9, 10.77.1.1,10.0.0.5-5")),
              QStringList({"10.77.1.9", "10.77.1.1", "10.0.0.5"}));
    // A whole LAST may cross into the next /24.
    EXPECT_EQ(Units(QStringLiteral("10.0.0.254-10.0.1.1")),
              QStringList({"10.0.0.254", "10.0.0.255", "10.0.1.0", "10.0.1.1"}));
    EXPECT_EQ(Units(QStringLiteral("10.0.0.1-10.0.4.0")).size(), kMaxUnits);
}

TEST(SimUnitList, BadListsAreRefused)
{
    const std::vector<std::pair<QString, QString>> cases{
        {"", "not \"\""},
        {"10.77.1.1,,10.77.1.2", "not \"\""},
        {"10.77.1", "10.77.1"},  // inet_aton's short form
        {"10.77.1.256", "10.77.1.256"},
        {"10.77.1.+1", "10.77.1.+1"},
        {"10.77.1.5-", "10.77.1.5-"},
        {"10.77.1.5-256", "10.77.1.5-256"},
        {"10.77.1.1-5-9", "10.77.1.1-5-9"},
        {"10.77.1.9-3", "backwards"},
        {"10.77.1.1-10.77.0.250", "backwards"},
        {"0.0.0.0", "0.0.0.0 is not"},
        {"239.255.255.250", "239.255.255.250 is not"},
        {"223.255.255.250-224.0.0.1", "224.0.0.1 is not"},
        {"255.255.255.255", "255.255.255.255 is not"},
        {"10.77.1.1,10.77.1.1", "10.77.1.1 twice"},
        {"10.77.1.1-9,10.77.1.20,10.77.1.5", "10.77.1.5 twice"},
        {"10.0.0.1-10.0.4.1", "more than 1024"},
        {"10.0.0.1-10.0.3.255,10.0.4.0-250", "more than 1024"},
        {"1.0.0.0-223.255.255.255", "more than 1024"},  // refused before it is spelled out
    };
    for (const auto& [text, says] : cases) {
        const QStringList result = Units(text);
        ASSERT_EQ(result.size(), 1) << qPrintable(text);
        EXPECT_TRUE(result[0].startsWith(QStringLiteral("error: --units")) && result[0].contains(says))
            << qPrintable(text) << " -> " << qPrintable(result[0]);
    }
}

TEST(SimUnitList, NumberedUnitsDifferInNameAndMacOnly)
{
    SimUnitState base;
    base.capability = 16;
    base.minutes = 77;
    base.mac = {0x00, 0xA1, 0xB0, 0x00, 0x00, 0xFF};
    const SimUnitState first = NumberedUnit(base, QStringLiteral("QIR-SIM"), 1);
    EXPECT_EQ(first.name, MakeNameField(QStringLiteral("QIR-SIM-1")));
    EXPECT_EQ(qireq::MacToText(first.mac), QStringLiteral("00A1B00000FF"));
    EXPECT_EQ(first.capability, 16);
    EXPECT_EQ(first.minutes, 77u);
    EXPECT_EQ(first.block, base.block);

    const SimUnitState later = NumberedUnit(base, QStringLiteral("QIR-SIM"), 250);
    EXPECT_EQ(later.name, MakeNameField(QStringLiteral("QIR-SIM-250")));
    EXPECT_EQ(qireq::MacToText(later.mac), QStringLiteral("00A1B00001F8"));  // the carry crosses bytes

    // A long name is cut to the field; the MAC wraps around at 48 bits.
    base.mac = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const SimUnitState cut = NumberedUnit(base, QStringLiteral("Fourteen chars"), 12);
    EXPECT_EQ(cut.name, MakeNameField(QStringLiteral("Fourteen chars-1")));
    EXPECT_EQ(qireq::MacToText(cut.mac), QStringLiteral("00000000000A"));
}
