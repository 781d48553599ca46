// The TCP client component against loopback servers: connect, send,
// receive, the idle-only address rule, and silenced failures.
#include "platform/PlatformErrors.h"
#include "platform/TClientSocket.h"
#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <vector>

namespace qireq {
namespace {

using test::WaitFor;

const QHostAddress kLoopback(QStringLiteral("127.0.0.1"));

// A port on loopback where nothing listens.
int UnusedPort()
{
    QTcpServer probe;
    probe.listen(kLoopback, 0);
    return probe.serverPort();
}

// ClientSocket1 as the main window wires it: every error silenced.
struct Client {
    TClientSocket socket;
    int connects = 0;
    int disconnects = 0;
    int reads = 0;
    std::vector<std::pair<TErrorEvent, int>> errors;
    bool silence = true;

    Client()
    {
        QObject::connect(&socket, &TClientSocket::OnConnect, [this](TClientSocket*) { ++connects; });
        QObject::connect(&socket, &TClientSocket::OnDisconnect, [this](TClientSocket*) { ++disconnects; });
        QObject::connect(&socket, &TClientSocket::OnRead, [this](TClientSocket*) { ++reads; });
        QObject::connect(&socket, &TClientSocket::OnError,
            [this](TClientSocket*, TErrorEvent kind, int& code) {
                errors.emplace_back(kind, code);
                if (silence)
                    code = 0;
            });
    }
    void Aim(int port)
    {
        socket.SetHost(QStringLiteral("127.0.0.1"));
        socket.SetPort(port);
    }
};

struct Server {
    QTcpServer server;
    QPointer<QTcpSocket> peer;

    Server() { server.listen(kLoopback, 0); }
    int Port() const { return server.serverPort(); }
    bool Accept()
    {
        if (!WaitFor([this] { return server.hasPendingConnections(); }))
            return false;
        peer = server.nextPendingConnection();
        return peer != nullptr;
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

// Collects what qWarning and friends print while it lives.
class MessageLog {
public:
    MessageLog() { previous_ = qInstallMessageHandler(&MessageLog::Record); }
    ~MessageLog()
    {
        qInstallMessageHandler(previous_);
        Lines().clear();
    }
    static QStringList& Lines()
    {
        static QStringList lines;
        return lines;
    }

private:
    static void Record(QtMsgType, const QMessageLogContext&, const QString& text) { Lines() << text; }
    QtMessageHandler previous_ = nullptr;
};

TEST(TClientSocketConnect, ActiveOnlyOnceConnectedAndSendBeforeThatSendsNothing)
{
    Server server;
    Client client;
    EXPECT_FALSE(client.socket.Active());
    EXPECT_EQ(client.socket.Port(), 0);
    EXPECT_TRUE(client.socket.Host().isEmpty());
    client.Aim(server.Port());
    client.socket.Open();
    EXPECT_FALSE(client.socket.Active()) << "an attempt under way is not a connection";
    EXPECT_EQ(client.socket.Send("early", 5), 0);
    EXPECT_EQ(client.socket.WaitingCount(), 0);
    char buffer[8];
    EXPECT_EQ(client.socket.Receive(buffer, 8), 0);

    ASSERT_TRUE(WaitFor([&] { return client.connects == 1; }));
    EXPECT_TRUE(client.socket.Active());
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(client.socket.Send("hello", 5), 5);
    EXPECT_EQ(server.Receive(5), QByteArray("hello")) << "the early send left nothing behind";
    EXPECT_TRUE(client.errors.empty());
}

TEST(TClientSocketConnect, OpenWhileConnectedDoesNothing)
{
    Server server;
    Client client;
    client.Aim(server.Port());
    client.socket.Open();
    ASSERT_TRUE(WaitFor([&] { return client.socket.Active(); }));
    client.socket.Open();
    WaitFor([] { return false; }, 50);
    EXPECT_TRUE(client.socket.Active());
    EXPECT_EQ(client.connects, 1);
    ASSERT_TRUE(server.Accept());
    EXPECT_FALSE(server.server.hasPendingConnections()) << "one connection only";
}

TEST(TClientSocketConnect, NothingListeningEndsInASilencedErrorAndStaysInactive)
{
    MessageLog log;
    Client client;
    client.Aim(UnusedPort());
    client.socket.Open();
    ASSERT_TRUE(WaitFor([&] { return !client.errors.empty(); }));
    EXPECT_EQ(client.errors[0].first, TErrorEvent::Connect);
    EXPECT_EQ(client.errors[0].second, 10061);  // connection refused
    EXPECT_FALSE(client.socket.Active());
    EXPECT_EQ(client.connects, 0);
    EXPECT_EQ(client.disconnects, 0);
    EXPECT_TRUE(MessageLog::Lines().isEmpty()) << MessageLog::Lines().join('\n').toStdString();

    // A handler that leaves the code set: the failure is logged, not lost.
    client.silence = false;
    client.socket.Open();
    ASSERT_TRUE(WaitFor([&] { return client.errors.size() == 2; }));
    EXPECT_TRUE(MessageLog::Lines().contains(QStringLiteral("Asynchronous socket error 10061")));
}

TEST(TClientSocketConnect, ANewOpenReplacesAnAttemptUnderWay)
{
    Server first;
    Server second;
    Client client;
    client.Aim(first.Port());
    client.socket.Open();
    client.socket.SetPort(second.Port());  // allowed: not connected yet
    client.socket.Open();
    ASSERT_TRUE(WaitFor([&] { return client.socket.Active(); }));
    EXPECT_TRUE(second.Accept());
    WaitFor([] { return false; }, 50);
    EXPECT_EQ(client.connects, 1);
}

TEST(TClientSocketAddress, HostAndPortChangeOnlyWhileIdle)
{
    Server server;
    Client client;
    EXPECT_THROW(client.socket.Open(), ESocketError);  // no host at all
    try {
        client.socket.Open();
    } catch (const ESocketError& error) {
        EXPECT_STREQ(error.what(), "No address specified");
    }

    client.Aim(server.Port());
    client.socket.Open();
    ASSERT_TRUE(WaitFor([&] { return client.socket.Active(); }));
    ASSERT_TRUE(server.Accept());
    try {
        client.socket.SetHost(QStringLiteral("127.0.0.2"));
        ADD_FAILURE() << "changing Host while active must fail";
    } catch (const ESocketError& error) {
        EXPECT_STREQ(error.what(), "Can't change value while socket is active");
    }
    EXPECT_THROW(client.socket.SetPort(1), ESocketError);
    EXPECT_EQ(client.socket.Host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(client.socket.Port(), server.Port());
    EXPECT_TRUE(client.socket.Active()) << "the connection stays up";
    EXPECT_EQ(client.socket.Send("still", 5), 5);
    EXPECT_EQ(server.Receive(5), QByteArray("still"));

    client.socket.Close();
    client.socket.SetHost(QStringLiteral("127.0.0.2"));
    EXPECT_EQ(client.socket.Host(), QStringLiteral("127.0.0.2"));
}

TEST(TClientSocketTransfer, TwoSegmentsGiveTwoReadsOfTheWaitingCount)
{
    Server server;
    Client client;
    QByteArray received;
    std::vector<int> waiting;
    QObject::connect(&client.socket, &TClientSocket::OnRead, [&](TClientSocket* sender) {
        const int n = sender->WaitingCount();
        waiting.push_back(n);
        QByteArray buffer(n, '\0');
        EXPECT_EQ(sender->Receive(buffer.data(), n), n);
        received += buffer;
    });
    client.Aim(server.Port());
    client.socket.Open();
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(WaitFor([&] { return client.socket.Active(); }));

    server.peer->write(QByteArray::fromHex("0120034009"));
    server.peer->flush();
    ASSERT_TRUE(WaitFor([&] { return received.size() == 5; }));
    server.peer->write(QByteArray::fromHex("0b010560"));
    server.peer->flush();
    ASSERT_TRUE(WaitFor([&] { return received.size() == 9; }));
    EXPECT_EQ(received, QByteArray::fromHex("01200340090b010560"));
    EXPECT_EQ(waiting, (std::vector<int>{5, 4}));
    EXPECT_EQ(client.reads, 2);
}

TEST(TClientSocketTransfer, PeerClosingMakesActiveFalseWithoutError)
{
    Server server;
    Client client;
    client.Aim(server.Port());
    client.socket.Open();
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(WaitFor([&] { return client.socket.Active(); }));
    server.peer->close();
    ASSERT_TRUE(WaitFor([&] { return !client.socket.Active(); }));
    EXPECT_EQ(client.disconnects, 1);
    EXPECT_TRUE(client.errors.empty());
    EXPECT_EQ(client.socket.Send("late", 4), 0);
    EXPECT_EQ(client.socket.WaitingCount(), 0);

    // A later Open connects again.
    client.socket.Open();
    EXPECT_TRUE(WaitFor([&] { return client.socket.Active(); }));
}

TEST(TClientSocketTransfer, CloseEndsTheConnectionAndIsHarmlessWhenIdle)
{
    Client client;
    client.socket.Close();
    EXPECT_EQ(client.disconnects, 0);

    Server server;
    client.Aim(server.Port());
    client.socket.Open();
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(WaitFor([&] { return client.socket.Active(); }));
    EXPECT_EQ(client.socket.Send("bye", 3), 3);
    client.socket.Close();
    EXPECT_FALSE(client.socket.Active());
    EXPECT_EQ(client.disconnects, 1);
    EXPECT_EQ(server.Receive(3), QByteArray("bye")) << "bytes sent before the close still arrive";
    client.socket.Close();
    EXPECT_EQ(client.disconnects, 1);
    EXPECT_TRUE(client.errors.empty());
}

}  // namespace
}  // namespace qireq
