// SocketLink over the TCP client against a loopback server: the
// "host:port" address, open only once connected, the pause after a write.
#include "platform/TClientSocket.h"
#include "protocol/Frames.h"
#include "protocol/LinkRequests.h"
#include "protocol/SocketLink.h"
#include "support/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <vector>

namespace qireq {
namespace {

using test::WaitFor;

struct Fixture {
    QTcpServer server;
    QPointer<QTcpSocket> peer;
    TClientSocket socket;
    std::vector<int> pauses;
    SocketLink link{socket, [this](int ms) { pauses.push_back(ms); }};

    Fixture()
    {
        server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
        QObject::connect(&socket, &TClientSocket::OnError,
            [](TClientSocket*, TErrorEvent, int& code) { code = 0; });
    }
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(server.serverPort()); }
    bool Connect()
    {
        link.SetAddress(Address());
        link.Open();
        if (!WaitFor([this] { return link.IsOpen() && server.hasPendingConnections(); }))
            return false;
        peer = server.nextPendingConnection();
        return true;
    }
    QByteArray Receive(int count)
    {
        QByteArray got;
        WaitFor([&] {
            got += peer->readAll();
            return got.size() >= count;
        });
        return got;
    }
};

TEST(SocketLinkAddress, HostColonPortRoundTripsAndTextWithoutAPortNumberChangesNothing)
{
    TClientSocket socket;
    SocketLink link(socket);
    EXPECT_EQ(link.GetAddress(), QStringLiteral(":0"));
    link.SetAddress(QStringLiteral("10.0.0.1:5000"));
    EXPECT_EQ(socket.Host(), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(socket.Port(), 5000);
    EXPECT_EQ(link.GetAddress(), QStringLiteral("10.0.0.1:5000"));
    EXPECT_FALSE(link.IsOpen()) << "setting the address does not connect";
    for (const char* bad : {"10.0.0.2", "10.0.0.2:", "10.0.0.2:abc", "10.0.0.2:50 00",
             "10.0.0.2: 5000", "10.0.0.2:5000:1", "10.0.0.2:99999999999"}) {
        EXPECT_THROW(link.SetAddress(QString::fromLatin1(bad)), EConvertError) << bad;
        EXPECT_EQ(link.GetAddress(), QStringLiteral("10.0.0.1:5000")) << bad;
    }
}

TEST(SocketLinkTransfer, WritePausesThreeThenFifteenMillisecondsConnectedOrNot)
{
    Fixture f;
    f.link.SetAddress(f.Address());
    f.link.Open();
    EXPECT_EQ(f.link.WriteBytes(PingRequest()), 0) << "not connected yet";
    EXPECT_EQ(f.pauses, (std::vector<int>{3, 15}));
    ASSERT_TRUE(WaitFor([&] { return f.link.IsOpen() && f.server.hasPendingConnections(); }));
    f.peer = f.server.nextPendingConnection();
    EXPECT_EQ(f.link.WriteBytes(PingRequest()), 9);
    EXPECT_EQ(f.pauses, (std::vector<int>{3, 15, 3, 15}));
    EXPECT_EQ(f.Receive(9), PingRequest());
}

TEST(SocketLinkTransfer, SuccessiveWritesLeaveAtLeastEighteenMillisecondsApart)
{
    QTcpServer server;
    server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    TClientSocket socket;
    SocketLink link(socket);  // real pauses
    link.SetAddress(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()));
    link.Open();
    ASSERT_TRUE(WaitFor([&] { return link.IsOpen(); }));
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> handedOver;
    for (int i = 0; i < 4; ++i) {
        link.WriteBytes(PingRequest());
        handedOver.push_back(clock.nsecsElapsed());
    }
    for (size_t i = 1; i < handedOver.size(); ++i)
        EXPECT_GE(handedOver[i] - handedOver[i - 1], 18'000'000);
}

TEST(SocketLinkTransfer, ConnectHandlerRequestsArriveInOrder)
{
    Fixture f;
    LinkRequests requests(f.link);
    // What the connect event does: ReadMac, then Identify.
    QObject::connect(&f.socket, &TClientSocket::OnConnect, [&](TClientSocket*) {
        requests.SendReadMac();
        requests.SendIdentify();
    });
    ASSERT_TRUE(f.Connect());
    const QByteArray got = f.Receive(kReadMacBlockSize + 9);
    EXPECT_EQ(got, ReadMacBlock() + IdentifyRequest());
    EXPECT_EQ(ReadMacBlock().size(), 150);
}

TEST(SocketLinkTransfer, DestroyingTheLinkLeavesTheSocketConnected)
{
    Fixture f;
    ASSERT_TRUE(f.Connect());
    {
        SocketLink other(f.socket);
        EXPECT_TRUE(other.IsOpen());
    }
    EXPECT_TRUE(f.socket.Active());
    f.link.Close();
    EXPECT_FALSE(f.socket.Active());
}

}  // namespace
}  // namespace qireq
