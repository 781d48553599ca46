// Every discovery thread at once against the list changes of the GUI thread:
// the LAN methods hearing three simulated units over a veth pair (probe,
// module search and SSDP), the serial prober on a pseudo-terminal, and the
// window removing, refreshing and adding units meanwhile. Run under
// ThreadSanitizer too; in a network namespace of its own.
#include "support/EndToEnd.h"
#include "support/PrivateNetwork.h"

#include "controls/Devicepanel.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

using namespace qireq;
using namespace qireq::e2e;

namespace {

using test::UnitNamespace;

class DiscoveryThreadsTest : public EndToEndTest {};

TEST_F(DiscoveryThreadsTest, DiscoveryThreadsMeetListChangesOnTheGuiThread)
{
    UnitNamespace units;
    if (!units.Make())
        GTEST_SKIP() << qPrintable(units.Error());
    const QStringList lan = units.AddUnitAddresses(3);
    ASSERT_EQ(lan.size(), 3);
    sims.push_back(std::make_unique<SimProcess>());
    ASSERT_TRUE(sims.back()->Start(units.Exec(sim::test::SimProgramPath(),
                                              {"--units", lan.join(u','), "--lan", "--ssdp-all",
                                               "--ssdp-interval", "300"}),
                                   QStringLiteral("ip")));
    SimProcess& serial = StartSim({QStringLiteral("--pty")});
    const QString pty = serial.WaitForLine(QStringLiteral("PTY "));
    MainWindowSeams seams = ProbedPorts({pty});
    seams.StartLanDiscovery = true;
    OpenWindow(seams);
    ASSERT_TRUE(WaitFor([this] { return Parts().DeviceColumn->DeviceCount() == 4; }, 15000));

    // For a few seconds the GUI thread changes the list while every thread
    // keeps answering, listing and refreshing.
    QElapsedTimer churning;
    churning.start();
    for (int round = 0; churning.elapsed() < 6000; ++round) {
        if (round % 3 == 0) {
            QTest::mouseClick(form->RefreshBtn, Qt::LeftButton);
        } else if (Parts().Devices.Count() > 0) {
            State().MenuIndex = round % Parts().Devices.Count();
            Parts().DeviceColumn->RemoveDeviceItem->trigger();
        }
        QTest::qWait(250);
    }
    // All four come back, each listed once.
    ASSERT_TRUE(WaitFor([this] { return Parts().DeviceColumn->DeviceCount() == 4; }, 15000));
    QStringList keys = Parts().Devices.DeviceKeys();
    EXPECT_EQ(keys.removeDuplicates(), 0);
    EXPECT_TRUE(keys.contains(pty));
    for (const QString& address : lan)
        EXPECT_TRUE(keys.contains(address)) << qPrintable(address);
}

}  // namespace
