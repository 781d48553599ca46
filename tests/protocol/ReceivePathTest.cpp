// The receive events on a real pseudo-terminal and a loopback TCP
// connection: at most one chunk per event, and the rest read by the events
// that follow, even when the unit sends nothing more.
#include "protocol/ReceivePath.h"

#include "platform/TClientSocket.h"
#include "platform/TComPort.h"
#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"
#include "protocol/ReplyDispatcher.h"
#include "state/DeviceList.h"
#include "state/MainState.h"
#include "support/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

using namespace qireq;
using qireq::test::WaitFor;

namespace {

// Counts band echoes and remembers where ping answers came from.
class CountingHandoffs : public ReplyHandoffs {
public:
    int bandEchoes = 0;
    QString ConnectionAddress(RxOrigin::Kind) const override { return {}; }
    bool IdentityReceived(RxOrigin::Kind) override { return true; }
    void ShowConnectedName(const QString&) override {}
    void ShowConnectedMac(int, const MacBytes&) override {}
    void ShowStatusPanel(bool) override {}
    void ApplyStatusReply(const StatusReading&) override {}
    void ApplyEqBlock(const EqBlock&) override {}
    void ApplyBandEcho(const BandEcho&) override { ++bandEchoes; }
    void ApplyBypassEcho(bool) override {}
    void ApplyTrimEcho(int) override {}
    void PostInfoMessage(int, int) override {}
};

class ReceivePathTest : public ::testing::Test {
protected:
    // 200 band echoes: 3400 bytes, more than three chunks.
    static QByteArray ManyEchoes()
    {
        QByteArray bytes;
        for (int i = 0; i < 200; ++i)
            bytes += SetBandFrame(1 + i % 5).Fill(EqBand{});
        return bytes;
    }

    MainState state;
    DeviceList devices;
    FrameAssembler assembler;
    CountingHandoffs handoffs;
    ReplyDispatcher dispatcher{state, devices, assembler, handoffs};
    ReceivePath receive{dispatcher};
};

TEST_F(ReceivePathTest, SerialBurstIsReadChunkByChunkAndCreditedToItsPort)
{
    test::PseudoTerminal pty;
    ASSERT_TRUE(pty.IsValid());
    TComPort port(TComFailures::Throw);
    port.SetPort(pty.SlavePath());
    QObject::connect(&port, &TComPort::OnRxChar, &receive, &ReceivePath::ComPort1RxChar);
    port.Open();
    ASSERT_TRUE(port.Connected());

    pty.Send(ManyEchoes() + PingRequest());
    ASSERT_TRUE(WaitFor([&] { return handoffs.bandEchoes == 200 && devices.Count() == 1; }, 5000))
        << handoffs.bandEchoes << " echoes";
    EXPECT_EQ(devices.EntryAt(0)->Address, pty.SlavePath());
}

TEST_F(ReceivePathTest, TcpBurstIsReadToTheEndWithoutFurtherTraffic)
{
    QTcpServer unit;
    ASSERT_TRUE(unit.listen(QHostAddress::LocalHost, 0));
    TClientSocket socket;
    QObject::connect(&socket, &TClientSocket::OnRead, &receive, &ReceivePath::ClientSocket1Read);
    QObject::connect(&socket, &TClientSocket::OnError, &receive, &ReceivePath::ClientSocket1Error,
                     Qt::DirectConnection);
    socket.SetHost(QStringLiteral("127.0.0.1"));
    socket.SetPort(unit.serverPort());
    socket.Open();
    ASSERT_TRUE(WaitFor([&] { return socket.Active() && unit.hasPendingConnections(); }, 3000));
    QTcpSocket* peer = unit.nextPendingConnection();

    peer->write(ManyEchoes());
    peer->flush();
    ASSERT_TRUE(WaitFor([&] { return handoffs.bandEchoes == 200; }, 5000))
        << handoffs.bandEchoes << " echoes";
    // A ping answer over TCP lists nobody.
    peer->write(PingRequest());
    ASSERT_TRUE(WaitFor([&] { return state.Heard && socket.WaitingCount() == 0; }, 3000));
    QCoreApplication::processEvents();
    EXPECT_EQ(devices.Count(), 0);

    // A failing socket raises no error box: the handler clears the code.
    int code = 10054;
    ReceivePath::ClientSocket1Error(&socket, TErrorEvent::Receive, code);
    EXPECT_EQ(code, 0);
}

}  // namespace
