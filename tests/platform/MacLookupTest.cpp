// The MAC look-up against a real neighbour table: a host across a veth pair
// in namespaces the test makes, this machine's own addresses, and hosts
// that never answer.
#include "platform/MacLookup.h"
#include "support/PrivateNetwork.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace qireq {
namespace {

using test::UnitNamespace;

TEST(MacLookup, FindsNeighboursAndOwnInterfacesAndGivesUpOnSilence)
{
    UnitNamespace units;
    if (!units.Make())
        GTEST_SKIP() << qPrintable(units.Error());
    ASSERT_EQ(units.UnitMac().size(), 12);

    // No entry yet: the look-up makes the kernel resolve it.
    EXPECT_EQ(LookupMac(UnitNamespace::UnitAddress()), units.UnitMac());
    EXPECT_EQ(LookupMac(UnitNamespace::HostAddress()), units.HostMac());
    EXPECT_EQ(LookupMac(QStringLiteral("127.0.0.5")), QStringLiteral("000000000000"));

    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(LookupMac(QStringLiteral("10.77.0.99")).has_value());
    EXPECT_GE(waited.elapsed(), 900);
    EXPECT_LT(waited.elapsed(), 2500);

    EXPECT_FALSE(LookupMac(QStringLiteral("no address")).has_value());
    EXPECT_FALSE(LookupMac(QStringLiteral("::1")).has_value());
}

}  // namespace
}  // namespace qireq
