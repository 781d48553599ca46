// The simulated unit answers the program's own links: a SerialLink over a
// TComPort on the simulator's pseudo-terminal, and a SocketLink over a
// TClientSocket on loopback TCP. Every request goes out through the link,
// every reply comes back through the component's receive notification and
// the frame assembler, and the simulator's log shows the exact bytes.
#include "SimHarness.h"

#include "eq/EqBlock.h"
#include "platform/TClientSocket.h"
#include "platform/TComPort.h"
#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"
#include "protocol/LinkRequests.h"
#include "protocol/ReplyFields.h"
#include "protocol/SerialLink.h"
#include "protocol/SocketLink.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <vector>

using namespace qireq;
using namespace qireq::sim::test;

namespace {

QString LogLine(const char* direction, const QByteArray& frame)
{
    return QString::fromLatin1(direction) + QLatin1Char(' ')
           + QString::fromLatin1(frame.toHex(' ').toUpper());
}

using Replies = FrameSink;

EqBand SampleBand()
{
    EqBand band;
    band.BandType = kLowShelf;
    band.BandFreq = 150;
    band.BandGain = 30;
    band.BandQ = 40;
    band.BandOff = 1;
    return band;
}

}  // namespace

TEST(SimOverSerialLink, AnswersEveryRequestThroughThePort)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--pty"), QStringLiteral("--name"), QStringLiteral("Rack 2"),
                           QStringLiteral("--capability"), QStringLiteral("17")}))
        << qPrintable(sim.Error());
    const QString pty = sim.WaitForLine(QStringLiteral("PTY "));
    ASSERT_FALSE(pty.isEmpty());

    TComPort port(TComFailures::Throw);
    Replies replies;
    QObject::connect(&port, &TComPort::OnRxChar, [&](TComPort* sender, int count) {
        std::vector<char> buffer(static_cast<std::size_t>(std::min(count, 1024)));
        const int read = sender->Read(buffer.data(), static_cast<int>(buffer.size()));
        replies.assembler.Feed(buffer.data(), read);
    });
    SerialLink link(port);
    link.SetAddress(pty);
    link.Open();
    ASSERT_TRUE(link.IsOpen());
    LinkRequests requests(link);

    requests.SendIdentify();
    ASSERT_TRUE(replies.WaitFrames(1));
    const IdentityReply identity = ReadIdentity(replies.frames[0]);
    EXPECT_EQ(identity.Name, "Rack 2");
    EXPECT_TRUE(identity.SupportsStatus());

    link.WriteBytes(ReadEqBlockRequest());
    ASSERT_TRUE(replies.WaitFrames(2));
    EXPECT_EQ(ReadEqBlockReply(replies.frames[1]), ResetBlock);

    // A band edit is echoed with the same bytes, and the unit keeps it.
    SetBandFrame band3(3);
    const QByteArray edit = band3.Fill(SampleBand());
    ASSERT_EQ(edit, QByteArray::fromHex("0120034011110A030501321E280101 0560"));
    link.WriteBytes(edit);
    ASSERT_TRUE(replies.WaitFrames(3));
    EXPECT_EQ(replies.frames[2], edit);
    link.WriteBytes(ReadEqBlockRequest());
    ASSERT_TRUE(replies.WaitFrames(4));
    const std::optional<EqBlock> block = ReadEqBlockReply(replies.frames[3]);
    ASSERT_TRUE(block);
    const QByteArray record(reinterpret_cast<const char*>(block->data()) + BandRecordOffset(2), 6);
    EXPECT_EQ(record, edit.mid(8, 6));

    SetTrimFrame trim;
    link.WriteBytes(trim.Fill(-7));
    requests.SendPing();
    ASSERT_TRUE(replies.WaitFrames(6));
    EXPECT_EQ(ReadTrimEcho(replies.frames[4]), 0x6B);
    EXPECT_EQ(ReplyCode(replies.frames[5]), static_cast<std::uint8_t>(Command::Ping));

    EXPECT_TRUE(sim.WaitForExactLine(LogLine("RX", IdentifyRequest())));
    EXPECT_TRUE(sim.WaitForExactLine(LogLine("RX", edit)));
    EXPECT_TRUE(sim.WaitForExactLine(LogLine("TX", replies.frames[1])));
    link.Close();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST(SimOverSocketLink, ConnectSequenceGetsMacAndIdentity)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--mac"),
                           QStringLiteral("00A1B0C0FFEE"), QStringLiteral("--name"),
                           QStringLiteral("Foyer")}))
        << qPrintable(sim.Error());
    const QString port = sim.WaitForLine(QStringLiteral("TCP 127.0.0.1:"));
    ASSERT_FALSE(port.isEmpty());

    TClientSocket socket;
    SocketLink link(socket);
    LinkRequests requests(link);
    Replies replies;
    QObject::connect(&socket, &TClientSocket::OnRead, [&](TClientSocket*) {
        char buffer[1024];
        const int read = link.Read(buffer, static_cast<int>(sizeof buffer));
        if (read > 0)
            replies.assembler.Feed(buffer, read);
    });
    // What the program does on the connect event: ReadMac, then Identify.
    QObject::connect(&socket, &TClientSocket::OnConnect, [&](TClientSocket*) {
        requests.SendReadMac();
        requests.SendIdentify();
    });
    int errors = 0;
    QObject::connect(&socket, &TClientSocket::OnError,
                     [&](TClientSocket*, TErrorEvent, int& code) {
                         ++errors;
                         code = 0;
                     });

    link.SetAddress(QStringLiteral("127.0.0.1:") + port);
    EXPECT_EQ(link.GetAddress(), QStringLiteral("127.0.0.1:") + port);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.WriteBytes(IdentifyRequest()), 0);  // nothing sent before the connection exists
    link.Open();
    ASSERT_TRUE(replies.WaitFrames(2));
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(replies.frames[0], QByteArray::fromHex("0120034010210000A1B0C0FFEE010560"));
    EXPECT_EQ(ReadIdentity(replies.frames[1]).Name, "Foyer");

    // The 150-byte block arrives whole: its zeros are no frame to the unit.
    EXPECT_TRUE(sim.WaitForExactLine(LogLine("RX", ReadMacRequest())));
    EXPECT_EQ(sim.CountLines(QStringLiteral("RX ")), 2);

    // Consecutive writes leave at least 18 ms apart.
    QElapsedTimer clock;
    clock.start();
    requests.SendPing();
    requests.SendPing();
    EXPECT_GE(clock.elapsed(), 36);
    ASSERT_TRUE(replies.WaitFrames(4));
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(sim.Terminate(), 0);
    EXPECT_TRUE(WaitFor([&] { return !link.IsOpen(); }));
}
