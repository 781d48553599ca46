// Removing and refreshing units end to end, with a serial unit the prober
// finds on a pseudo-terminal and LAN units over loopback TCP, and "More
// Info" of a unit that reports its status, against simulated units.
#include "support/EndToEnd.h"

#include "controls/Devicepanel.h"
#include "protocol/Frames.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace qireq;
using namespace qireq::e2e;

namespace {

class CommandsEndToEndTest : public EndToEndTest {
protected:
    // A window that probes the simulated serial unit's port and reaches LAN
    // units on `lanPort`; waits for the serial unit's tile.
    QString OpenWithSerialUnit(int lanPort = 5000)
    {
        SimProcess& serial = StartSim({QStringLiteral("--pty")});
        const QString pty = serial.WaitForLine(QStringLiteral("PTY "));
        MainWindowSeams seams = ProbedPorts({pty});
        seams.LanPort = lanPort;
        OpenWindow(seams);
        EXPECT_TRUE(WaitForTiles(1, 10000)) << "the prober found no unit on " << pty.toStdString();
        // The probing port lets the port go.
        EXPECT_TRUE(WaitFor([&] { return !Parts().ComPort2.Connected(); }, 3000));
        return pty;
    }
    void Remove(int index)
    {
        State().MenuIndex = index;
        Parts().DeviceColumn->RemoveDeviceItem->trigger();
    }
};

TEST_F(CommandsEndToEndTest, RefreshRemovesEveryUnitLastFirstAndTheProberFindsTheSerialOneAgain)
{
    const QString pty = OpenWithSerialUnit();
    for (const char* address : {"127.0.0.2", "127.0.0.3", "127.0.0.4"})
        ListUnit(QString::fromLatin1(address), kProbeUnit);
    ASSERT_EQ(Parts().Devices.Count(), 4);
    QStringList removed;
    for (TDevicePanel* tile : Parts().DeviceColumn->Tiles())
        QObject::connect(tile, &QObject::destroyed, [&removed, name = tile->NameLabel->Caption()] {
            removed << name;
        });
    // As when the countdown has run out: the refresh starts it again.
    form->SearchTimer->stop();

    QTest::mouseClick(form->RefreshBtn, Qt::LeftButton);
    EXPECT_EQ(Parts().Devices.Count(), 0);
    EXPECT_EQ(form->deviceCountLabel->text(), QStringLiteral("0"));
    EXPECT_TRUE(form->SearchTimer->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the tiles go
    ASSERT_EQ(removed.size(), 4);
    EXPECT_EQ(removed, QStringList({"Device3", "Device2", "Device1", "Device0"}));

    // The prober was released by the removal and finds the unit again.
    ASSERT_TRUE(WaitForTiles(1, 4500));
    EXPECT_EQ(Parts().Devices.EntryAt(0)->Address, pty);
}

TEST_F(CommandsEndToEndTest, RemovingTheConnectedSerialUnitClosesItsPortALanUnitKeepsItsLink)
{
    SimProcess& lan = StartSim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")});
    const int port = TcpPort(lan);
    OpenWithSerialUnit(port);
    ClickTile(0);
    ASSERT_TRUE(WaitConnected(5000));
    ASSERT_TRUE(Parts().ComPort1.Connected());
    Remove(0);
    EXPECT_FALSE(Parts().ComPort1.Connected());
    EXPECT_FALSE(State().Connected);
    EXPECT_EQ(State().ConnectedIndex, -1);

    ListUnit(QStringLiteral("127.0.0.1"), kProbeUnit);
    const int index = Parts().Devices.IndexOf(QStringLiteral("127.0.0.1"));
    ClickTile(index);
    ASSERT_TRUE(WaitConnected(5000));
    Remove(index);
    EXPECT_FALSE(State().Connected);
    EXPECT_TRUE(Parts().ClientSocket1.Active()) << "the TCP link stays open";
    EXPECT_EQ(lan.CountLines(QStringLiteral("DISCONNECT")), 0);
}

TEST_F(CommandsEndToEndTest, MoreInfoShowsTheUsageOfUnitsThatReportTheirStatus)
{
    SimProcess& status = StartSim({"--tcp", "127.0.0.1:0", "--burn-count", "3", "--minutes", "2882"});
    MainWindowSeams seams = NoDiscovery();
    seams.LanPort = TcpPort(status);
    OpenWindow(seams);
    ListUnit(QStringLiteral("127.0.0.1"), kProbeUnit);
    ClickTile(0);
    ASSERT_TRUE(WaitConnected(5000));
    QAction* moreInfo = Parts().DeviceColumn->BurningItem;
    ASSERT_TRUE(moreInfo->isVisible());
    State().MenuIndex = 0;
    moreInfo->trigger();
    ASSERT_TRUE(SimGot(status, ReadInfoRequest()));
    EXPECT_TRUE(WaitFor([this] {
        return Boxes(QStringLiteral("Burning success times:3\nTime:2 days, 0 hour, 2 minutes")) == 1;
    }, 3000));
}

TEST_F(CommandsEndToEndTest, MoreInfoIsNotOfferedToUnitsWithoutStatus)
{
    SimProcess& plain = StartSim({"--tcp", "127.0.0.1:0", "--capability", "16"});
    MainWindowSeams seams = NoDiscovery();
    seams.LanPort = TcpPort(plain);
    OpenWindow(seams);
    ListUnit(QStringLiteral("127.0.0.1"), kProbeUnit);
    ClickTile(0);
    ASSERT_TRUE(WaitConnected(5000));
    EXPECT_FALSE(Parts().DeviceColumn->BurningItem->isVisible());
}

}  // namespace
