// The built qireq-sim program, driven like the control program drives a
// unit: over its pseudo-terminal and over loopback TCP, with its log lines,
// a few fault switches, the LAN answers on loopback ports, and SIGTERM.
#include "SimHarness.h"

#include "SimDevice.h"
#include "SimLanAnswers.h"
#include "SimUnit.h"

#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"

#include <QNetworkDatagram>
#include <QTemporaryDir>
#include <QUdpSocket>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <csignal>

#include <vector>

using namespace qireq;
using namespace qireq::sim;
using namespace qireq::sim::test;

namespace {

QString Tx(const QByteArray& frame)
{
    return QStringLiteral("TX ") + QString::fromLatin1(frame.toHex(' ').toUpper());
}
QString Rx(const QByteArray& frame)
{
    return QStringLiteral("RX ") + QString::fromLatin1(frame.toHex(' ').toUpper());
}

// The TCP side on a port the system picks, read from the TCP line.
class TcpSim : public ::testing::Test {
protected:
    void StartSim(QStringList extra)
    {
        extra << QStringLiteral("--tcp") << QStringLiteral("127.0.0.1:0");
        ASSERT_TRUE(sim.Start(extra)) << qPrintable(sim.Error());
        const QString endpoint = sim.WaitForLine(QStringLiteral("TCP 127.0.0.1:"));
        port = static_cast<quint16>(endpoint.toUInt());
        ASSERT_NE(port, 0);
    }
    void Connect() { ASSERT_TRUE(peer.Connect(QHostAddress(QStringLiteral("127.0.0.1")), port)); }
    bool WaitFrames(std::size_t count, int timeoutMs = 3000) { return sink.WaitFrames(count, timeoutMs); }

    SimProcess sim;
    quint16 port = 0;
    TcpPeer peer;
    QTcpSocket& socket = peer.socket;
    FrameSink& sink = peer.sink;
    QByteArray& received = peer.received;
};

}  // namespace

TEST_F(TcpSim, AnswersTheConnectSequenceAndLogsEveryFrame)
{
    StartSim({QStringLiteral("--name"), QStringLiteral("Stage Left"), QStringLiteral("--mac"),
              QStringLiteral("00A1B0123456")});
    Connect();
    // What the control program sends on connecting over TCP: the ReadMac
    // block with its 141 zeros, then Identify, then ReadEqBlock.
    socket.write(ReadMacBlock());
    socket.write(IdentifyRequest());
    socket.write(ReadEqBlockRequest());
    ASSERT_TRUE(WaitFrames(3));
    EXPECT_EQ(sink.frames[0], QByteArray::fromHex("01200340 1021 00 00A1B0123456 010560"));
    SimUnitState expected;
    expected.name = MakeNameField(QStringLiteral("Stage Left"));
    EXPECT_EQ(sink.frames[1], SimUnit(expected).IdentityReply());
    EXPECT_EQ(sink.frames[2].size(), 74);
    EXPECT_EQ(received.size(), 16 + 27 + 74);  // nothing but the three replies

    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("RX 01 20 03 40 09 21 01 05 60")));
    EXPECT_TRUE(sim.WaitForExactLine(Tx(sink.frames[1])));
    EXPECT_EQ(sim.CountLines(QStringLiteral("RX ")), 3);
    EXPECT_EQ(sim.CountLines(QStringLiteral("TX ")), 3);
    EXPECT_EQ(sim.Terminate(), 0);
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("STOP signal 15"), 0));
}

TEST_F(TcpSim, EditsPersistAcrossConnections)
{
    StartSim({});
    Connect();
    const QByteArray band = QByteArray::fromHex("01200340 1111 0A 03 05 01 32 1E 28 01 010560");
    socket.write(band);
    socket.write(RenameFrame("Bar"));
    ASSERT_TRUE(WaitFrames(1));
    EXPECT_EQ(sink.frames[0], band);
    EXPECT_TRUE(sim.WaitForExactLine(Rx(RenameFrame("Bar"))));
    socket.disconnectFromHost();
    EXPECT_TRUE(sim.WaitForLine(QStringLiteral("DISCONNECT ")).size() > 0);

    TcpPeer second;
    ASSERT_TRUE(second.Connect(QHostAddress(QStringLiteral("127.0.0.1")), port));
    second.Write(IdentifyRequest() + ReadEqBlockRequest());
    ASSERT_TRUE(second.sink.WaitFrames(2));
    EXPECT_EQ(second.sink.frames[0].mid(7, 4), QByteArray("Bar "));
    EXPECT_EQ(second.sink.frames[1].mid(28, 6), QByteArray::fromHex("0501321E2801"));
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST_F(TcpSim, DropAfterClosesTheConnectionAfterItsReply)
{
    StartSim({QStringLiteral("--drop-after"), QStringLiteral("1")});
    Connect();
    socket.write(IdentifyRequest());
    ASSERT_TRUE(WaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(sink.frames.size(), 1u);
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("DROP")));
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST_F(TcpSim, ChunksAndGarbageStillAssembleToTheSameReplies)
{
    StartSim({QStringLiteral("--chunk"), QStringLiteral("3"), QStringLiteral("--garbage")});
    Connect();
    socket.write(ReadStatusRequest() + ReadInfoRequest());
    ASSERT_TRUE(WaitFrames(2));
    EXPECT_EQ(sink.frames[0], SimUnit().StatusReply());
    EXPECT_EQ(sink.frames[1], SimUnit().InfoReply());
    EXPECT_EQ(received, GarbageBytes() + SimUnit().StatusReply() + GarbageBytes() + SimUnit().InfoReply());
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST_F(TcpSim, SilentUnitLogsButNeverAnswers)
{
    StartSim({QStringLiteral("--silent")});
    Connect();
    socket.write(PingRequest());
    EXPECT_TRUE(sim.WaitForExactLine(Rx(PingRequest())));
    EXPECT_FALSE(WaitFrames(1, 300));
    EXPECT_TRUE(received.isEmpty());
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST(PtySim, AnswersOverThePseudoTerminalAndSurvivesReopening)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--pty"), QStringLiteral("--capability"), QStringLiteral("16")}))
        << qPrintable(sim.Error());
    const QString path = sim.WaitForLine(QStringLiteral("PTY "));
    ASSERT_TRUE(path.startsWith(QStringLiteral("/dev/pts/"))) << qPrintable(path);
    EXPECT_EQ(sim.CountLines(QStringLiteral("TCP")), 0);  // a serial unit only
    {
        FdPeer port = FdPeer::OpenRaw(path);
        ASSERT_TRUE(port.IsOpen());
        const QByteArray trim = QByteArray::fromHex("01200340 0B0E 6B 48 010560");
        ASSERT_TRUE(port.Write(PingRequest()));
        ASSERT_TRUE(port.Write(trim));
        ASSERT_TRUE(port.ReadFrames(2));
        EXPECT_EQ(port.Frames()[0], PingRequest());
        EXPECT_EQ(port.Frames()[1], trim);
    }
    // Closed and opened again, as the prober and the connection each do.
    FdPeer again = FdPeer::OpenRaw(path);
    ASSERT_TRUE(again.IsOpen());
    ASSERT_TRUE(again.Write(IdentifyRequest() + ReadEqBlockRequest()));
    ASSERT_TRUE(again.ReadFrames(2));
    EXPECT_EQ(static_cast<unsigned char>(again.Frames()[0].at(23)), 16);
    EXPECT_EQ(static_cast<unsigned char>(again.Frames()[1].at(7)), 0x6B);  // the trim was kept
    EXPECT_TRUE(sim.WaitForExactLine(Tx(again.Frames()[1])));
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST(TtySim, ServesAGivenTtyAndOutlivesItsDisappearance)
{
    if (!SocatPair::Available())
        GTEST_SKIP() << "socat not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SocatPair line(dir.filePath(QStringLiteral("unit")), dir.filePath(QStringLiteral("host")));
    ASSERT_TRUE(line.Start());

    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--tty"), line.UnitEnd(), QStringLiteral("--tcp"),
                           QStringLiteral("127.0.0.1:0")}))
        << qPrintable(sim.Error());
    const quint16 port = static_cast<quint16>(sim.WaitForLine(QStringLiteral("TCP 127.0.0.1:")).toUInt());
    {
        FdPeer host = FdPeer::OpenRaw(line.HostEnd());
        ASSERT_TRUE(host.IsOpen());
        ASSERT_TRUE(host.Write(PingRequest()));
        ASSERT_TRUE(host.ReadFrames(1));
        EXPECT_EQ(host.Frames()[0], PingRequest());
    }

    // The far end vanishes: the unit closes that port and goes on serving TCP.
    ASSERT_TRUE(line.Stop());
    EXPECT_FALSE(sim.WaitForLine(QStringLiteral("TTY closed")).isEmpty());
    TcpPeer tcp;
    ASSERT_TRUE(tcp.Connect(QHostAddress(QStringLiteral("127.0.0.1")), port));
    tcp.Write(PingRequest());
    EXPECT_TRUE(tcp.sink.WaitFrames(1));
    EXPECT_EQ(sim.CountLines(QStringLiteral("TTY closed")), 1);
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST(TtySim, ServesTheTtyAgainOnceItIsBack)
{
    if (!SocatPair::Available())
        GTEST_SKIP() << "socat not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Names of this test's own: the serial ports' lock files are machine-wide.
    SocatPair line(dir.filePath(QStringLiteral("back-unit")), dir.filePath(QStringLiteral("back-host")));
    ASSERT_TRUE(line.Start());
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--tty"), line.UnitEnd()})) << qPrintable(sim.Error());

    // The line goes away (both pseudo-terminals with it) and comes back anew.
    ASSERT_TRUE(line.Stop());
    EXPECT_FALSE(sim.WaitForLine(QStringLiteral("TTY closed")).isEmpty());
    ASSERT_TRUE(line.Start());
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("TTY reopened ") + line.UnitEnd()));
    {
        FdPeer host = FdPeer::OpenRaw(line.HostEnd());
        ASSERT_TRUE(host.IsOpen());
        ASSERT_TRUE(host.Write(PingRequest()));
        ASSERT_TRUE(host.ReadFrames(1));
        EXPECT_EQ(host.Frames()[0], PingRequest());
    }
    EXPECT_EQ(sim.CountLines(QStringLiteral("TTY reopened")), 1);
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST(LanSim, AnswersProbesOnlyToTheirSenderOnLoopbackPorts)
{
    // Ports of our own on 127.0.0.1; the simulator binds the same numbers
    // on 127.0.0.2 and answers to the sender's address at those numbers.
    QUdpSocket probeSide;
    ASSERT_TRUE(probeSide.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    QUdpSocket moduleListener;
    ASSERT_TRUE(moduleListener.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    const quint16 probePort = probeSide.localPort();
    const quint16 modulePort = moduleListener.localPort();

    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.2:0"), QStringLiteral("--lan"),
                           QStringLiteral("--lan-bind"), QStringLiteral("127.0.0.2"), QStringLiteral("--probe-port"),
                           QString::number(probePort), QStringLiteral("--module-port"), QString::number(modulePort)}))
        << qPrintable(sim.Error());
    const QHostAddress unit(QStringLiteral("127.0.0.2"));

    std::vector<QNetworkDatagram> probeAnswers;
    std::vector<QNetworkDatagram> moduleAnswers;
    QObject::connect(&probeSide, &QUdpSocket::readyRead, [&] {
        while (probeSide.hasPendingDatagrams())
            probeAnswers.push_back(probeSide.receiveDatagram());
    });
    QObject::connect(&moduleListener, &QUdpSocket::readyRead, [&] {
        while (moduleListener.hasPendingDatagrams())
            moduleAnswers.push_back(moduleListener.receiveDatagram());
    });

    // Something that is not the probe draws nothing.
    probeSide.writeDatagram(PortProbe() + 'x', unit, probePort);
    EXPECT_TRUE(sim.WaitForLine(QStringLiteral("UDP-RX 127.0.0.1:")).size() > 0);
    probeSide.writeDatagram(PortProbe(), unit, probePort);
    ASSERT_TRUE(WaitFor([&] { return !probeAnswers.empty(); }));
    EXPECT_EQ(probeAnswers[0].senderAddress().toIPv4Address(), unit.toIPv4Address());
    EXPECT_GT(probeAnswers[0].data().size(), 12);

    // The search leaves from a passing port; the answer comes to the module port.
    QUdpSocket searcher;
    ASSERT_TRUE(searcher.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    searcher.writeDatagram(ModuleSearch(), unit, modulePort);
    ASSERT_TRUE(WaitFor([&] { return !moduleAnswers.empty(); }));
    EXPECT_GT(moduleAnswers[0].data().size(), 20);
    EXPECT_TRUE(moduleAnswers[0].data().startsWith("127.0.0.2,00A1B0000001,"));

    EXPECT_EQ(probeAnswers.size(), 1u);
    EXPECT_EQ(sim.CountLines(QStringLiteral("UDP-TX ")), 2);
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST(SimProgram, RefusesBadArgumentsAndStopsOnSigint)
{
    QProcess bad;
    bad.start(SimProgramPath(), {QStringLiteral("--mac"), QStringLiteral("XYZ")});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("--mac"));

    QProcess help;
    help.start(SimProgramPath(), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(5000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().contains("--answer-limit"));

    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")})) << qPrintable(sim.Error());
    ASSERT_GT(sim.Pid(), 0);
    ::kill(static_cast<pid_t>(sim.Pid()), SIGINT);
    EXPECT_TRUE(sim.WaitForExactLine(QStringLiteral("STOP signal 2")));
    EXPECT_EQ(sim.Terminate(), 0);
}
