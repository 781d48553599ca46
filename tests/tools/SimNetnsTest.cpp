// The simulator as a LAN unit in a namespace of units beside the test's
// own private network namespace, joined by a veth pair. Real broadcasts of
// the probe and the module search, SSDP multicast, and TCP cross it;
// nothing leaves the two namespaces. Skipped where they cannot be made
// (not root, no ip netns).
#include "SimHarness.h"

#include "SimLanAnswers.h"
#include "SimLog.h"
#include "SimUnit.h"
#include "SimUnitList.h"
#include "support/PrivateNetwork.h"
#include "support/QtPrinters.h"

#include "protocol/Frames.h"
#include "state/MacText.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <map>
#include <optional>

using namespace qireq;
using namespace qireq::sim;
using namespace qireq::sim::test;
using qireq::test::UnitNamespace;

namespace {

const QByteArray kUnitAddressText = UnitNamespace::UnitAddress().toLatin1();
const QByteArray kHostAddressText = UnitNamespace::HostAddress().toLatin1();
const char* const kUnitAddress = kUnitAddressText.constData();
const char* const kHostAddress = kHostAddressText.constData();

// A socket of the test's own namespace, the control program's side.
int HostSocket(int type)
{
    return ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
}

sockaddr_in Endpoint(const char* address, quint16 port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &a.sin_addr);
    return a;
}

class Udp {
public:
    explicit Udp(int fd) : fd_(fd) {}
    ~Udp()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool Valid() const { return fd_ >= 0; }
    bool Bind(quint16 port)
    {
        const int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        const sockaddr_in any = Endpoint("0.0.0.0", port);
        return ::bind(fd_, reinterpret_cast<const sockaddr*>(&any), sizeof any) == 0;
    }
    bool AllowBroadcast()
    {
        const int on = 1;
        return ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
    }
    bool Join(const char* group, const char* interfaceAddress)
    {
        ip_mreq request{};
        ::inet_pton(AF_INET, group, &request.imr_multiaddr);
        ::inet_pton(AF_INET, interfaceAddress, &request.imr_interface);
        return ::setsockopt(fd_, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0;
    }
    bool SendTo(const QByteArray& bytes, const char* address, quint16 port)
    {
        const sockaddr_in to = Endpoint(address, port);
        return ::sendto(fd_, bytes.constData(), static_cast<std::size_t>(bytes.size()), 0,
                        reinterpret_cast<const sockaddr*>(&to), sizeof to) == bytes.size();
    }
    struct Datagram {
        QByteArray bytes;
        QString from;
        quint16 port;
    };
    // The first datagram from `from` within the time, skipping others
    // (our own broadcasts come back to a socket on their port).
    std::optional<Datagram> ReceiveFrom(const char* from, int timeoutMs = 5000)
    {
        std::optional<Datagram> found;
        WaitFor(
            [&] {
                if (auto datagram = ReceiveOne(); datagram && datagram->from == QLatin1String(from))
                    found = std::move(datagram);
                return found.has_value();
            },
            timeoutMs);
        return found;
    }
    // The first datagram from each of `senders` that arrives within the time.
    std::map<QString, Datagram> ReceiveFromEach(const QStringList& senders, int timeoutMs = 5000)
    {
        std::map<QString, Datagram> found;
        WaitFor(
            [&] {
                if (auto datagram = ReceiveOne(); datagram && senders.contains(datagram->from))
                    found.emplace(datagram->from, *datagram);
                return found.size() == static_cast<std::size_t>(senders.size());
            },
            timeoutMs);
        return found;
    }

private:
    std::optional<Datagram> ReceiveOne()
    {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            return std::nullopt;
        char buffer[2048];
        sockaddr_in sender{};
        socklen_t size = sizeof sender;
        const ssize_t got = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&sender), &size);
        if (got < 0)
            return std::nullopt;
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
        return Datagram{QByteArray(buffer, static_cast<qsizetype>(got)), QString::fromLatin1(text),
                        ntohs(sender.sin_port)};
    }

    int fd_;
};

// The identity frame the unit at `address` sends on TCP port 5000 to an
// Identify request; empty when none comes.
QByteArray IdentityFrom(const char* address)
{
    TcpPeer tcp;
    if (!tcp.Connect(QHostAddress(QString::fromLatin1(address)), 5000) || !tcp.Write(IdentifyRequest()))
        return {};
    tcp.sink.WaitFrames(1);
    return tcp.sink.frames.size() == 1 ? tcp.sink.frames.front() : QByteArray();
}

// The control program's four discovery sockets, set up as the program sets
// them up.
struct HostSockets {
    HostSockets()
        : probe(HostSocket(SOCK_DGRAM)), moduleListener(HostSocket(SOCK_DGRAM)),
          moduleBroadcaster(HostSocket(SOCK_DGRAM)), ssdp(HostSocket(SOCK_DGRAM))
    {
    }
    bool Ready()
    {
        return probe.Valid() && moduleListener.Valid() && moduleBroadcaster.Valid() && ssdp.Valid() &&
               probe.Bind(8000) && probe.AllowBroadcast() && moduleListener.Bind(48899) &&
               moduleBroadcaster.AllowBroadcast() && ssdp.Bind(1900) &&
               ssdp.Join("239.255.255.250", kHostAddress);
    }
    Udp probe;
    Udp moduleListener;
    Udp moduleBroadcaster;
    Udp ssdp;
};

class NetnsSim : public ::testing::Test {
protected:
    void SetUp() override
    {
        units_ = std::make_unique<UnitNamespace>();
        if (!units_->Make())
            GTEST_SKIP() << qPrintable(units_->Error());
    }
    void TearDown() override
    {
        sim_.reset();  // ends the simulator before its namespace goes
        units_.reset();
    }

    SimProcess& StartSim(const QStringList& arguments)
    {
        sim_ = std::make_unique<SimProcess>();
        started_ = sim_->Start(units_->Exec(SimProgramPath(), arguments), QStringLiteral("ip"));
        return *sim_;
    }

    std::unique_ptr<UnitNamespace> units_;
    bool started_ = false;
    std::unique_ptr<SimProcess> sim_;
};

}  // namespace

TEST_F(NetnsSim, AnswersBroadcastProbesAnnouncesBySsdpAndServesTcp)
{
    // The control program's sockets, in the host namespace.
    HostSockets host;
    ASSERT_TRUE(host.Ready());
    Udp& probe = host.probe;
    Udp& moduleListener = host.moduleListener;
    Udp& moduleBroadcaster = host.moduleBroadcaster;
    Udp& ssdp = host.ssdp;

    SimProcess& sim = StartSim({"--tcp", QStringLiteral("%1:5000").arg(kUnitAddress), "--lan", "--ssdp", kUnitAddress,
                                "--ssdp-interval", "200", "--name", "Balcony"});
    ASSERT_TRUE(started_) << qPrintable(sim.Error());

    ASSERT_TRUE(probe.SendTo(PortProbe(), "255.255.255.255", 8000));
    const auto probeAnswer = probe.ReceiveFrom(kUnitAddress);
    ASSERT_TRUE(probeAnswer.has_value());
    EXPECT_GT(probeAnswer->bytes.size(), 12);
    EXPECT_EQ(probeAnswer->port, 8000);

    ASSERT_TRUE(moduleBroadcaster.SendTo(ModuleSearch(), "255.255.255.255", 48899));
    const auto moduleAnswer = moduleListener.ReceiveFrom(kUnitAddress);
    ASSERT_TRUE(moduleAnswer.has_value());
    EXPECT_GT(moduleAnswer->bytes.size(), 20);

    const auto notify = ssdp.ReceiveFrom(kUnitAddress);
    ASSERT_TRUE(notify.has_value());
    EXPECT_TRUE(notify->bytes.contains("upnp_MDL-S2E"));

    // Answers went to the prober only, never to a broadcast address.
    for (const QString& line : sim.Lines()) {
        if (line.startsWith(QStringLiteral("UDP-TX "))) {
            EXPECT_TRUE(line.startsWith(QStringLiteral("UDP-TX %1:").arg(kHostAddress))) << qPrintable(line);
        }
    }

    // The unit found is reached on TCP port 5000.
    EXPECT_EQ(IdentityFrom(kUnitAddress).mid(7, 7), QByteArray("Balcony"));

    EXPECT_EQ(sim.Terminate(), 0);
}

TEST_F(NetnsSim, SilentUnitIgnoresProbes)
{
    Udp probe(HostSocket(SOCK_DGRAM));
    ASSERT_TRUE(probe.Valid() && probe.Bind(8000) && probe.AllowBroadcast());
    SimProcess& sim = StartSim({"--tcp", QStringLiteral("%1:5000").arg(kUnitAddress), "--lan", "--silent"});
    ASSERT_TRUE(started_) << qPrintable(sim.Error());
    ASSERT_TRUE(probe.SendTo(PortProbe(), "255.255.255.255", 8000));
    EXPECT_FALSE(sim.WaitForLine(QStringLiteral("UDP-RX ")).isEmpty());
    EXPECT_FALSE(probe.ReceiveFrom(kUnitAddress, 400).has_value());
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST_F(NetnsSim, OneProcessPlaysManyUnitsEachAnsweringFromItsOwnAddress)
{
    const QStringList units = units_->AddUnitAddresses(3);  // 10.77.1.1 to 10.77.1.3
    ASSERT_EQ(units, QStringList({"10.77.1.1", "10.77.1.2", "10.77.1.3"})) << qPrintable(units_->Error());
    HostSockets host;
    ASSERT_TRUE(host.Ready());
    Udp& probe = host.probe;
    Udp& moduleListener = host.moduleListener;
    Udp& moduleBroadcaster = host.moduleBroadcaster;
    Udp& ssdp = host.ssdp;

    SimProcess& sim = StartSim({"--units", "10.77.1.1-3", "--lan", "--ssdp-all", "--ssdp-interval", "300"});
    ASSERT_TRUE(started_) << qPrintable(sim.Error());
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("UNITS 3"), 0));
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("[10.77.1.3] TCP 10.77.1.3:5000"), 0));

    // What each unit says: its own address, numbered name and MAC.
    SimUnitState base;
    base.mac = *TextToMac(QStringLiteral("00A1B0000001"));
    const auto unitState = [&](int i) { return NumberedUnit(base, QStringLiteral("QIR-SIM"), i + 1); };

    // One broadcast of each probe draws an answer from every unit's address.
    ASSERT_TRUE(probe.SendTo(PortProbe(), "255.255.255.255", 8000));
    const auto probeAnswers = probe.ReceiveFromEach(units);
    ASSERT_TRUE(moduleBroadcaster.SendTo(ModuleSearch(), "255.255.255.255", 48899));
    const auto moduleAnswers = moduleListener.ReceiveFromEach(units);
    const auto notifies = ssdp.ReceiveFromEach(units);
    ASSERT_EQ(probeAnswers.size(), 3u);
    ASSERT_EQ(moduleAnswers.size(), 3u);
    ASSERT_EQ(notifies.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const QString& address = units[i];
        EXPECT_EQ(probeAnswers.at(address).bytes,
                  PortProbeAnswer(unitState(i), QHostAddress(address).toIPv4Address()));
        EXPECT_EQ(moduleAnswers.at(address).bytes, ModuleSearchAnswer(unitState(i), address));
        EXPECT_TRUE(notifies.at(address).bytes.contains("upnp_MDL-S2E"));
        const QByteArray location = QStringLiteral("LOCATION: http://%1/").arg(address).toLatin1();
        EXPECT_TRUE(notifies.at(address).bytes.contains(location));
    }

    // A probe sent to one unit's address is answered by that unit alone.
    ASSERT_TRUE(probe.SendTo(PortProbe(), "10.77.1.2", 8000));
    const auto alone = probe.ReceiveFromEach(units, 600);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone.count(QStringLiteral("10.77.1.2")), 1u);

    // Received once, answered by each unit in lines of its own.
    EXPECT_EQ(sim.CountLines(QStringLiteral("UDP-RX 10.77.0.1:8000 ")), 2);
    EXPECT_EQ(sim.CountLines(QStringLiteral("[10.77.1.1] UDP-TX 10.77.0.1:8000 ")), 1);
    EXPECT_EQ(sim.CountLines(QStringLiteral("[10.77.1.2] UDP-TX 10.77.0.1:8000 ")), 2);
    EXPECT_EQ(sim.CountLines(QStringLiteral("[10.77.1.3] UDP-TX 10.77.0.1:48899 ")), 1);

    // Each unit keeps its own state behind its own TCP server.
    EXPECT_EQ(IdentityFrom("10.77.1.1"), SimUnit(unitState(0)).IdentityReply());
    EXPECT_EQ(IdentityFrom("10.77.1.3"), SimUnit(unitState(2)).IdentityReply());
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("[10.77.1.3] RX ") + HexLine(IdentifyRequest())));
    EXPECT_EQ(sim.Terminate(), 0);
}
