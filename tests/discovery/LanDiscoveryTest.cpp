// The LAN methods on the loopback network of a namespace of the test's own:
// which datagrams list a unit and of which kind, what a listed sender's
// datagrams do, a failed MAC look-up, a port that is taken, and a flood of
// answers meeting removals on the test's thread. The program's probe and
// search go to 127.0.0.1 here; real broadcasts are the end-to-end tests'.
#include "discovery/LanDatagrams.h"
#include "discovery/LanDiscovery.h"
#include "state/DeviceList.h"
#include "support/PrivateNetwork.h"
#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QNetworkInterface>
#include <QThread>
#include <QUdpSocket>

#include <atomic>
#include <memory>
#include <thread>

namespace qireq {
namespace {

using test::WaitFor;

const QHostAddress kLoopback(QStringLiteral("127.0.0.1"));

// A sender on the loopback network with an address of its own.
void Send(const QString& from, quint16 port, const QByteArray& bytes)
{
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress(from), 0)) << qPrintable(from);
    ASSERT_EQ(socket.writeDatagram(bytes, kLoopback, port), bytes.size());
}

void Announce(const QString& from, const QByteArray& text)
{
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress(from), 0));
    socket.setMulticastInterface(QNetworkInterface::interfaceFromName(QStringLiteral("lo")));
    ASSERT_EQ(socket.writeDatagram(text, QHostAddress(QString::fromLatin1(kSsdpGroup)), kSsdpPort),
              text.size());
}

QByteArray Notify(const char* marker)
{
    return QByteArray("NOTIFY * HTTP/1.1\r\nNT: urn:schemas-upnp-org:device:") + marker + ":1\r\n\r\n";
}

class LanDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::PrivateNetworkReady())
            GTEST_SKIP() << qPrintable(test::PrivateNetworkProblem());
        // The tile of each new unit is built at once.
        devices.SetUnitAddedHandler([this](const DeviceEntry&) { devices.Flags().AddPending.store(false); });
        setup.BroadcastAddress = kLoopback;
    }
    void TearDown() override
    {
        lan.reset();
        devices.SetUnitAddedHandler(nullptr);
    }

    void Start()
    {
        lan = std::make_unique<LanDiscovery>(devices, setup);
        lan->Start();
        // Listening (and joined to the SSDP group) once its own traffic comes back.
        ASSERT_TRUE(WaitFor([this] {
            return lan->Counts().ProbePortDatagrams > 0 && lan->Counts().ModulePortDatagrams > 0 &&
                   lan->Counts().SsdpMemberships > 0;
        }));
    }
    std::optional<DeviceEntry> Entry(const QString& address) const
    {
        return devices.EntryAt(devices.IndexOf(address));
    }
    int Silence(const QString& address) const
    {
        return devices.SilenceCounters().value(devices.IndexOf(address), -1);
    }

    DeviceList devices;
    LanDiscoverySetup setup;
    std::unique_ptr<LanDiscovery> lan;
};

TEST_F(LanDiscoveryTest, EachMethodListsItsAnswersAndNothingElse)
{
    Start();
    Send("127.0.0.20", kProbePort, ProbeDatagram());                // the probe itself: 12 bytes
    Send("127.0.0.21", kModulePort, QByteArray(20, 'A'));           // 20 characters
    Send("127.0.0.22", kModulePort, QByteArray(30, 'A').insert(5, '\0'));  // 5 characters of text
    Announce("127.0.0.23", Notify("UPNP_mdl-s2e"));                 // the marker in another case
    Announce("127.0.0.24", QByteArray("NOTIFY\0upnp_MDL-S2E", 19));  // after the end of the text
    Send("127.0.0.10", kProbePort, QByteArray(13, 'x'));
    Send("127.0.0.11", kModulePort, QByteArray(21, 'x'));
    Announce("127.0.0.12", Notify(kSsdpMarker));

    ASSERT_TRUE(WaitFor([this] { return devices.Count() == 3; }));
    QThread::msleep(300);
    ASSERT_EQ(devices.Count(), 3);
    EXPECT_EQ(Entry("127.0.0.10")->Kind, kProbeUnit);
    EXPECT_EQ(Entry("127.0.0.11")->Kind, kModuleUnit);
    EXPECT_EQ(Entry("127.0.0.12")->Kind, kSsdpUnit);
    // Loopback addresses are this machine's: the loopback interface's MAC.
    EXPECT_EQ(Entry("127.0.0.10")->Mac, "000000000000");
    // The program's own probe and search came back and listed nothing.
    EXPECT_GE(lan->Counts().ProbesSent, 1);
    EXPECT_GE(lan->Counts().SearchesSent, 1);
    EXPECT_FALSE(devices.Contains(QStringLiteral("127.0.0.1")));
}

TEST_F(LanDiscoveryTest, ListedSendersOnlyRefreshTheirPresence)
{
    Start();
    Send("127.0.0.10", kProbePort, QByteArray(40, 'x'));
    ASSERT_TRUE(WaitFor([this] { return devices.Count() == 1; }));
    const auto quiet = [this](int ticks) {
        for (int i = 0; i < ticks; ++i)
            devices.TickSilenceCounters();
    };

    // Any length on the probe port, a module answer, an SSDP datagram.
    quiet(5);
    Send("127.0.0.10", kProbePort, QByteArray(3, 'x'));
    EXPECT_TRUE(WaitFor([this] { return Silence("127.0.0.10") == 0; }));
    quiet(5);
    Send("127.0.0.10", kModulePort, QByteArray(25, 'x'));
    EXPECT_TRUE(WaitFor([this] { return Silence("127.0.0.10") == 0; }));
    // The unit stays listed once, with the kind it was found by.
    EXPECT_EQ(devices.Count(), 1);
    EXPECT_EQ(Entry("127.0.0.10")->Kind, kProbeUnit);

    // SSDP leaves the counters alone while the list is being changed.
    quiet(5);
    devices.Flags().ListChanging.store(true);
    const int seen = lan->Counts().SsdpDatagrams;
    Announce("127.0.0.10", "anything");
    ASSERT_TRUE(WaitFor([&] { return lan->Counts().SsdpDatagrams > seen; }));
    QThread::msleep(50);
    EXPECT_EQ(Silence("127.0.0.10"), 5);
    devices.Flags().ListChanging.store(false);
    Announce("127.0.0.10", "anything");
    EXPECT_TRUE(WaitFor([this] { return Silence("127.0.0.10") == 0; }));
}

TEST_F(LanDiscoveryTest, WithoutAMacOnlyAModuleAnswerIsListed)
{
    setup.LookupMac = [](const QString&) { return std::optional<QString>(); };
    Start();
    Send("127.0.0.30", kProbePort, QByteArray(40, 'x'));
    Announce("127.0.0.31", Notify(kSsdpMarker));
    Send("127.0.0.32", kModulePort, QByteArray(30, 'x'));
    ASSERT_TRUE(WaitFor([this] { return devices.Count() == 1; }));
    QThread::msleep(300);
    EXPECT_EQ(devices.Count(), 1);
    EXPECT_EQ(Entry("127.0.0.32")->Mac, kUnknownMac);
    EXPECT_EQ(Entry("127.0.0.32")->Kind, kModuleUnit);
}

TEST_F(LanDiscoveryTest, APortTakenEndsOnlyItsMethodAndStopIsPrompt)
{
    QUdpSocket taken;
    ASSERT_TRUE(taken.bind(QHostAddress::AnyIPv4, kProbePort));
    lan = std::make_unique<LanDiscovery>(devices, setup);
    lan->Start();
    ASSERT_TRUE(WaitFor([this] { return lan->Counts().ModulePortDatagrams > 0; }));
    Send("127.0.0.11", kModulePort, QByteArray(30, 'x'));
    ASSERT_TRUE(WaitFor([this] { return devices.Count() == 1; }));
    EXPECT_EQ(lan->Counts().ProbesSent, 0);

    QElapsedTimer stopping;
    stopping.start();
    lan->Stop();
    EXPECT_LT(stopping.elapsed(), 1000);
}

// Here no route leads anywhere, so every broadcast fails (as on a laptop
// with no network yet); answers must still be heard once they come.
TEST_F(LanDiscoveryTest, ProbesThatCannotGoOutLeaveTheListenerHearing)
{
    setup.BroadcastAddress = QHostAddress::Broadcast;
    lan = std::make_unique<LanDiscovery>(devices, setup);
    lan->Start();
    ASSERT_TRUE(WaitFor([this] { return lan->Counts().ProbesSent >= 1; }));
    QThread::msleep(100);
    Send("127.0.0.10", kProbePort, QByteArray(13, 'x'));
    ASSERT_TRUE(WaitFor([this] { return devices.Count() == 1; }));
    EXPECT_EQ(Entry("127.0.0.10")->Kind, kProbeUnit);
}

// Discovery threads add and refresh units while this thread removes them,
// ticks their counters and lets one new unit in at a time, as the window
// does. Run under ThreadSanitizer too.
TEST_F(LanDiscoveryTest, AFloodOfAnswersMeetsRemovalsSafely)
{
    devices.SetUnitAddedHandler(nullptr);  // this thread opens the gate
    Start();
    std::atomic<bool> flooding{true};
    std::thread flood([&] {
        QUdpSocket socket;
        while (flooding.load()) {
            for (int host = 50; host < 90; ++host) {
                const QString from = QStringLiteral("127.0.0.%1").arg(host);
                socket.close();
                if (socket.bind(QHostAddress(from), 0))
                    socket.writeDatagram(QByteArray(host % 2 ? 40 : 3, 'x'), kLoopback, kProbePort);
            }
            QThread::msleep(5);
        }
    });
    QElapsedTimer running;
    running.start();
    int removed = 0;
    while (running.elapsed() < 2000) {
        devices.Flags().AddPending.store(false);
        devices.TickSilenceCounters();
        if (devices.Count() > 3) {
            const RaisedFlag changing(devices.Flags().ListChanging);
            removed += devices.Remove(0).has_value() + devices.Remove(devices.Count() - 1).has_value();
        }
        QThread::msleep(3);
    }
    flooding.store(false);
    flood.join();
    lan->Stop();

    EXPECT_GT(removed, 0);
    QStringList keys = devices.DeviceKeys();
    EXPECT_EQ(keys.removeDuplicates(), 0);
    for (const DeviceEntry& entry : devices.Devices())
        EXPECT_EQ(entry.Kind, kProbeUnit);  // only answers longer than the probe
}

}  // namespace
}  // namespace qireq
