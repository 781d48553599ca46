// What the simulated network module answers, and to which datagrams.
#include "SimLanAnswers.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace qireq::sim;

TEST(SimLanAnswers, OnlyTheExactProbesAreAnswered)
{
    EXPECT_EQ(PortProbe(), QByteArray::fromHex("01 02 00 0C 00 00 00 00 00 01 FF FF"));
    EXPECT_TRUE(IsPortProbe(PortProbe()));
    EXPECT_FALSE(IsPortProbe(PortProbe() + '\0'));
    EXPECT_FALSE(IsPortProbe(PortProbe().left(11)));

    EXPECT_EQ(ModuleSearch(), QByteArray("QX-B27RELAYSCOUTS\0", 18));
    EXPECT_TRUE(IsModuleSearch(ModuleSearch()));
    EXPECT_TRUE(IsModuleSearch(QByteArray("QX-B27RELAYSCOUTS")));
    EXPECT_FALSE(IsModuleSearch(QByteArray("HF-A11ASSISTHREAD")));
    EXPECT_FALSE(IsModuleSearch(QByteArray("qx-b27relayscouts")));

    // A unit's answers are never taken for probes by another unit.
    SimUnitState unit;
    EXPECT_FALSE(IsPortProbe(PortProbeAnswer(unit, 0x7F000002)));
    EXPECT_FALSE(IsModuleSearch(ModuleSearchAnswer(unit, QStringLiteral("127.0.0.2"))));
}

TEST(SimLanAnswers, AnswersAreLongEnoughToCount)
{
    SimUnitState unit;
    unit.mac = {0x00, 0xA1, 0xB0, 0x00, 0x00, 0x01};
    unit.name = MakeNameField(QStringLiteral("AB"));
    const QByteArray probe = PortProbeAnswer(unit, 0x0A4D0002);  // 10.77.0.2
    EXPECT_EQ(probe, QByteArray::fromHex("01 82 00 1E 00A1B0000001 0A4D0002 4142 2020202020202020202020202000"));
    EXPECT_GT(probe.size(), 12);

    const QByteArray shortest = ModuleSearchAnswer(unit, QStringLiteral("1.2.3.4"));
    EXPECT_EQ(shortest, QByteArray("1.2.3.4,00A1B0000001,QX-B27"));
    EXPECT_GT(shortest.size(), 20);
}

TEST(SimLanAnswers, SsdpNotifyCarriesTheMarker)
{
    const QByteArray notify = SsdpNotify(SimUnitState{}, QStringLiteral("10.77.0.2"), 1900);
    EXPECT_TRUE(notify.startsWith("NOTIFY * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\n"));
    EXPECT_TRUE(notify.contains("upnp_MDL-S2E"));
    EXPECT_TRUE(notify.contains("LOCATION: http://10.77.0.2/"));
    EXPECT_TRUE(notify.endsWith("\r\n\r\n"));
    EXPECT_FALSE(notify.contains('\0'));  // the listener reads up to the first zero byte
    EXPECT_LE(notify.size(), 1024);       // and at most 1024 bytes
}
