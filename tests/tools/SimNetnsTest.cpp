// The simulator as a LAN unit between two network namespaces made here: the
// unit in one, the test's sockets in the other, joined by a veth pair. Real
// broadcasts of the probe and the module search, SSDP multicast, and TCP
// cross it; nothing leaves the two namespaces. Skipped where they cannot
// be made (not root, no ip netns).
#include "support/SimProcess.h"

#include "SimLanAnswers.h"
#include "SimLog.h"
#include "SimUnit.h"
#include "SimUnitList.h"
#include "support/QtPrinters.h"

#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <thread>

using namespace qireq;
using namespace qireq::sim;
using namespace qireq::sim::test;

namespace {

constexpr const char* kUnitAddress = "10.77.0.2";
constexpr const char* kHostAddress = "10.77.0.1";

bool Ip(const QStringList& arguments, QString* error = nullptr)
{
    QProcess ip;
    ip.start(QStringLiteral("ip"), arguments);
    if (!ip.waitForFinished(10000) || ip.exitStatus() != QProcess::NormalExit || ip.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("ip %1: %2").arg(arguments.join(u' '), QString::fromLocal8Bit(ip.readAllStandardError()));
        return false;
    }
    return true;
}

// A socket created inside a named network namespace. Only the creating
// thread enters the namespace; the socket stays in it for its whole life.
int SocketIn(const QString& ns, int type)
{
    int fd = -1;
    std::thread([&] {
        const QByteArray path = QStringLiteral("/var/run/netns/%1").arg(ns).toLocal8Bit();
        const int nsFd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (nsFd < 0)
            return;
        if (::setns(nsFd, CLONE_NEWNET) == 0)
            fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
        ::close(nsFd);
    }).join();
    return fd;
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
// Identify request from a socket in `ns`; empty when none comes.
QByteArray IdentityFrom(const QString& ns, const char* address)
{
    const int tcp = SocketIn(ns, SOCK_STREAM);
    if (tcp < 0)
        return {};
    std::vector<QByteArray> frames;
    const sockaddr_in unit = Endpoint(address, 5000);
    if (::connect(tcp, reinterpret_cast<const sockaddr*>(&unit), sizeof unit) == 0
        && ::write(tcp, IdentifyRequest().constData(), 9) == 9) {
        FrameAssembler assembler;
        assembler.SetFrameHandler([&frames](const QByteArray& f) { frames.push_back(f); });
        WaitFor([&] {
            pollfd p{tcp, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                char buffer[256];
                const ssize_t got = ::read(tcp, buffer, sizeof buffer);
                if (got > 0)
                    assembler.Feed(buffer, static_cast<qsizetype>(got));
            }
            return !frames.empty();
        });
    }
    ::close(tcp);
    return frames.size() == 1 ? frames.front() : QByteArray();
}

// The control program's four discovery sockets, in the host namespace, set
// up as the program sets them up.
struct HostSockets {
    explicit HostSockets(const QString& ns)
        : probe(SocketIn(ns, SOCK_DGRAM)), moduleListener(SocketIn(ns, SOCK_DGRAM)),
          moduleBroadcaster(SocketIn(ns, SOCK_DGRAM)), ssdp(SocketIn(ns, SOCK_DGRAM))
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
        if (::geteuid() != 0)
            GTEST_SKIP() << "network namespaces need root";
        const QString tag = QString::number(::getpid());
        unitNs_ = QStringLiteral("qsim%1u").arg(tag);
        hostNs_ = QStringLiteral("qsim%1h").arg(tag);
        unitIf_ = QStringLiteral("qsu%1").arg(tag);
        const QString hostIf = QStringLiteral("qsh%1").arg(tag);
        QString error;
        if (!Ip({"netns", "add", unitNs_}, &error))
            GTEST_SKIP() << qPrintable(error);
        madeUnit_ = true;
        if (!Ip({"netns", "add", hostNs_}, &error))
            GTEST_SKIP() << qPrintable(error);
        madeHost_ = true;
        const bool ok = Ip({"-n", unitNs_, "link", "add", unitIf_, "type", "veth", "peer", "name", hostIf, "netns", hostNs_}, &error)
            && Ip({"-n", unitNs_, "addr", "add", QStringLiteral("%1/24").arg(kUnitAddress), "dev", unitIf_}, &error)
            && Ip({"-n", hostNs_, "addr", "add", QStringLiteral("%1/24").arg(kHostAddress), "dev", hostIf}, &error)
            && Ip({"-n", unitNs_, "link", "set", "lo", "up"}, &error)
            && Ip({"-n", hostNs_, "link", "set", "lo", "up"}, &error)
            && Ip({"-n", unitNs_, "link", "set", unitIf_, "up"}, &error)
            && Ip({"-n", hostNs_, "link", "set", hostIf, "up"}, &error)
            // 255.255.255.255 needs a route to leave by.
            && Ip({"-n", unitNs_, "route", "add", "default", "dev", unitIf_}, &error)
            && Ip({"-n", hostNs_, "route", "add", "default", "dev", hostIf}, &error);
        if (!ok)
            GTEST_SKIP() << qPrintable(error);
    }
    void TearDown() override
    {
        sim_.reset();  // ends the simulator before its namespace goes
        if (madeUnit_)
            Ip({"netns", "del", unitNs_});
        if (madeHost_)
            Ip({"netns", "del", hostNs_});
    }

    SimProcess& StartSim(const QStringList& arguments)
    {
        sim_ = std::make_unique<SimProcess>();
        started_ = sim_->Start(QStringList{"netns", "exec", unitNs_, SimProgramPath()} + arguments, QStringLiteral("ip"));
        return *sim_;
    }

    QString unitNs_;
    QString hostNs_;
    QString unitIf_;
    bool madeUnit_ = false;
    bool madeHost_ = false;
    bool started_ = false;
    std::unique_ptr<SimProcess> sim_;
};

}  // namespace

TEST_F(NetnsSim, AnswersBroadcastProbesAnnouncesBySsdpAndServesTcp)
{
    // The control program's sockets, in the host namespace.
    HostSockets host(hostNs_);
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
    EXPECT_EQ(IdentityFrom(hostNs_, kUnitAddress).mid(7, 7), QByteArray("Balcony"));

    EXPECT_EQ(sim.Terminate(), 0);
}

TEST_F(NetnsSim, SilentUnitIgnoresProbes)
{
    Udp probe(SocketIn(hostNs_, SOCK_DGRAM));
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
    const QStringList units{"10.77.0.10", "10.77.0.11", "10.77.0.12"};
    for (const QString& address : units)
        ASSERT_TRUE(Ip({"-n", unitNs_, "addr", "add", address + QStringLiteral("/24"), "dev", unitIf_}));
    HostSockets host(hostNs_);
    ASSERT_TRUE(host.Ready());
    Udp& probe = host.probe;
    Udp& moduleListener = host.moduleListener;
    Udp& moduleBroadcaster = host.moduleBroadcaster;
    Udp& ssdp = host.ssdp;

    SimProcess& sim = StartSim({"--units", "10.77.0.10-12", "--lan", "--ssdp-all", "--ssdp-interval", "300"});
    ASSERT_TRUE(started_) << qPrintable(sim.Error());
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("UNITS 3"), 0));
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("[10.77.0.12] TCP 10.77.0.12:5000"), 0));

    // What each unit says: its own address, numbered name and MAC.
    SimUnitState base;
    base.mac = *ParseMacText(QStringLiteral("00A1B0000001"));
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
    ASSERT_TRUE(probe.SendTo(PortProbe(), "10.77.0.11", 8000));
    const auto alone = probe.ReceiveFromEach(units, 600);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone.count(QStringLiteral("10.77.0.11")), 1u);

    // Received once, answered by each unit in lines of its own.
    EXPECT_EQ(sim.CountLines(QStringLiteral("UDP-RX 10.77.0.1:8000 ")), 2);
    EXPECT_EQ(sim.CountLines(QStringLiteral("[10.77.0.10] UDP-TX 10.77.0.1:8000 ")), 1);
    EXPECT_EQ(sim.CountLines(QStringLiteral("[10.77.0.11] UDP-TX 10.77.0.1:8000 ")), 2);
    EXPECT_EQ(sim.CountLines(QStringLiteral("[10.77.0.12] UDP-TX 10.77.0.1:48899 ")), 1);

    // Each unit keeps its own state behind its own TCP server.
    EXPECT_EQ(IdentityFrom(hostNs_, "10.77.0.10"), SimUnit(unitState(0)).IdentityReply());
    EXPECT_EQ(IdentityFrom(hostNs_, "10.77.0.12"), SimUnit(unitState(2)).IdentityReply());
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("[10.77.0.12] RX ") + HexLine(IdentifyRequest())));
    EXPECT_EQ(sim.Terminate(), 0);
}
