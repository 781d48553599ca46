// The real main window finding units on a LAN of its own: the program in a
// network namespace of the test's own, simulated units in a second one
// behind a veth pair, with real broadcasts, SSDP multicast, ARP, TCP and
// the window's real timers. Skipped where namespaces cannot be made.
#include "support/EndToEnd.h"
#include "support/PrivateNetwork.h"

#include "controls/Devicepanel.h"
#include "controls/CSpinButton.h"
#include "editor/BandEditor.h"
#include "eq/EqDisplay.h"
#include "protocol/Frames.h"
#include "state/MacText.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

using namespace qireq;
using namespace qireq::e2e;

namespace {

using test::UnitNamespace;

class LanNetnsTest : public EndToEndTest {
protected:
    void SetUp() override
    {
        if (!units.Make())
            GTEST_SKIP() << qPrintable(units.Error());
    }
    void TearDown() override
    {
        EndToEndTest::TearDown();  // the simulators end before their namespace
    }

    // The window as the program starts it, but without serial ports.
    void OpenLanWindow()
    {
        MainWindowSeams seams;
        seams.StartSerialDiscovery = false;
        seams.EnumerateSerialPorts = [] { return QStringList(); };
        OpenWindow(seams);
    }
    // A simulated unit in the units' namespace.
    SimProcess& StartUnit(const QStringList& arguments)
    {
        sims.push_back(std::make_unique<SimProcess>());
        SimProcess& sim = *sims.back();
        EXPECT_TRUE(sim.Start(units.Exec(sim::test::SimProgramPath(), arguments), QStringLiteral("ip")))
            << qPrintable(sim.Error());
        return sim;
    }
    std::optional<DeviceEntry> Entry(const QString& address)
    {
        return Parts().Devices.EntryAt(Parts().Devices.IndexOf(address));
    }
    bool WaitListed(const QString& address, int timeoutMs)
    {
        return WaitFor([&] {
            const int index = Parts().Devices.IndexOf(address);
            return index >= 0 && Tile(index) != nullptr;
        }, timeoutMs);
    }
    static QString Colons(const QString& mac) { return FormatMac(mac, QStringLiteral(":")); }

    UnitNamespace units;
};

// One unit answers the probe, one is found by SSDP and then falls silent:
// the talking unit is connected, edited and stays unmarked for 90 s, while
// the silent one gets its missing mark from the presence watch; removed, it
// comes back once it answers again. Both units have the same MAC (one veth)
// at two addresses, so they are listed twice.
TEST_F(LanNetnsTest, FoundConnectedEditedAndPresentWhileTalkingMarkedWhenSilent)
{
    const QString quiet = units.AddUnitAddresses(1).value(0);
    ASSERT_FALSE(quiet.isEmpty()) << qPrintable(units.Error());
    OpenLanWindow();
    // The module search goes unanswered: the probe finds this unit.
    SimProcess& hall = StartUnit({"--tcp", UnitNamespace::UnitAddress() + ":5000", "--lan", "--module-port",
                                  "9998", "--name", "Hall"});
    auto announcer = std::make_unique<SimProcess>();
    ASSERT_TRUE(announcer->Start(units.Exec(sim::test::SimProgramPath(),
                                            {"--tcp", quiet + ":5000", "--ssdp", quiet, "--ssdp-interval", "500"}),
                                 QStringLiteral("ip")));

    // Within one probe period: the answer lists it, with its MAC from ARP.
    ASSERT_TRUE(WaitListed(UnitNamespace::UnitAddress(), 2500));
    ASSERT_TRUE(WaitListed(quiet, 3000));
    ASSERT_EQ(Parts().Devices.Count(), 2);
    const int hallIndex = Parts().Devices.IndexOf(UnitNamespace::UnitAddress());
    const int quietIndex = Parts().Devices.IndexOf(quiet);
    EXPECT_EQ(Entry(UnitNamespace::UnitAddress())->Kind, kProbeUnit);
    EXPECT_EQ(Entry(quiet)->Kind, kSsdpUnit);
    EXPECT_EQ(Tile(hallIndex)->AddressCaption->Caption(), QStringLiteral("IP:"));
    EXPECT_EQ(Tile(hallIndex)->MacLabel->Caption(), Colons(units.UnitMac()));
    EXPECT_EQ(Tile(quietIndex)->MacLabel->Caption(), Colons(units.UnitMac()));

    // A click connects over TCP: ReadMac, then Identify; the EQ block shows.
    ClickTile(hallIndex);
    ASSERT_TRUE(WaitConnected(5000));
    ASSERT_TRUE(SimGot(hall, ReadEqBlockRequest()));
    EXPECT_LT(hall.CountLines(QStringLiteral("RX ") + HexLine(ReadMacRequest())), 2);
    const BandEditor& editor = *form->Editor;
    EXPECT_TRUE(WaitFor([&] { return editor.Band(1).QEdit->text() == QText(0); }, 2000))
        << "the unit's block (Q step 0) replaced the start-up bands";
    EXPECT_EQ(Tile(hallIndex)->NameLabel->Caption(), QStringLiteral("Hall"));

    // An edit reaches the unit and its echo comes back.
    QTest::mouseClick(editor.Band(2).FreqCButton, Qt::LeftButton, {}, QPoint(8, 4));
    EXPECT_TRUE(WaitFor([&] { return editor.Band(2).FreqEdit->text() == FrequencyText(51); }, 2000));

    // The announcer falls silent; the talking unit stays present.
    announcer->Terminate();
    QElapsedTimer watched;
    watched.start();
    bool quietMarked = false;
    while (watched.elapsed() < 90000) {
        QTest::qWait(500);
        ASSERT_TRUE(State().Connected) << "after " << watched.elapsed() << " ms";
        ASSERT_FALSE(Tile(hallIndex)->RedCross->isVisible()) << "after " << watched.elapsed() << " ms";
        quietMarked = quietMarked || Tile(quietIndex)->RedCross->isVisible();
        if (!quietMarked) {
            ASSERT_LT(watched.elapsed(), 66000) << "the silent unit is marked within 20 ticks of 3 s";
        }
    }
    EXPECT_TRUE(quietMarked);

    // Removed, and answering again, the silent unit is listed anew.
    {
        const RaisedFlag changing(Parts().Devices.Flags().ListChanging);
        Parts().DeviceColumn->RemoveUnit(quietIndex);
    }
    ASSERT_EQ(Parts().Devices.IndexOf(quiet), -1);
    SimProcess& back = StartUnit({"--tcp", quiet + ":5000", "--ssdp", quiet, "--ssdp-interval", "500"});
    ASSERT_TRUE(back.WaitForExactLine(QStringLiteral("READY")));
    EXPECT_TRUE(WaitListed(quiet, 3000));
}

// The module search lists a unit of kind 2 (its probe goes unanswered);
// two units answering the probe at the same moment are both listed, one
// after the other; an SSDP announcement on the loopback network lists a
// unit of kind 1 with the loopback interface's MAC.
TEST_F(LanNetnsTest, ModuleProbeAndLoopbackAnswersListUnitsOfTheirKinds)
{
    const QStringList pair = units.AddUnitAddresses(2);
    ASSERT_EQ(pair.size(), 2) << qPrintable(units.Error());
    OpenLanWindow();
    StartUnit({"--tcp", UnitNamespace::UnitAddress() + ":5000", "--lan", "--probe-port", "9999"});
    StartUnit({"--units", pair.join(u','), "--lan", "--module-port", "9998"});
    StartSim({"--tcp", "127.0.0.5:5000", "--ssdp", "127.0.0.5", "--ssdp-interval", "500"});
    ASSERT_TRUE(WaitListed(UnitNamespace::UnitAddress(), 3000));
    ASSERT_TRUE(WaitListed(QStringLiteral("127.0.0.5"), 3000));
    ASSERT_TRUE(WaitListed(pair[0], 5000));
    ASSERT_TRUE(WaitListed(pair[1], 5000));
    EXPECT_EQ(Entry(UnitNamespace::UnitAddress())->Kind, kModuleUnit);
    EXPECT_EQ(Entry(UnitNamespace::UnitAddress())->Mac, units.UnitMac());
    EXPECT_EQ(Entry(pair[1])->Kind, kProbeUnit);
    EXPECT_EQ(Entry(QStringLiteral("127.0.0.5"))->Kind, kSsdpUnit);
    EXPECT_EQ(Entry(QStringLiteral("127.0.0.5"))->Mac, QStringLiteral("000000000000"));

    // The program's own probe and search, heard back, list nothing more.
    QTest::qWait(2500);
    EXPECT_EQ(Parts().Devices.Count(), 4);
    EXPECT_EQ(Parts().DeviceColumn->DeviceCount(), 4);
    EXPECT_GE(Parts().Lan->Counts().ProbesSent, 2);
}

}  // namespace
