// The reply dispatcher between the assembler and the rest of the program,
// with the window's hand-offs replaced by a recorder: which frame reaches
// which part, what the identity reply changes, and what is refused.
#include "protocol/ReplyDispatcher.h"

#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"
#include "protocol/InfoMessageText.h"
#include "state/DeviceList.h"
#include "state/MainState.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>

using namespace qireq;

namespace {

using qireq::test::Hex;

// Records every hand-off as one line of text, in call order.
class RecordingHandoffs : public ReplyHandoffs {
public:
    QString socketHost = QStringLiteral("192.168.1.20");
    QString comPort1Name = QStringLiteral("COM3");
    QStringList calls;
    EqBlock lastBlock{};
    std::function<void()> duringBandEcho;

    QString ConnectionAddress(RxOrigin::Kind kind) const override
    {
        return kind == RxOrigin::Kind::Socket ? socketHost : comPort1Name;
    }
    // What the connection does with the reply; the fixture plays it.
    std::function<bool(const QString& address)> identity;
    bool IdentityReceived(RxOrigin::Kind kind) override
    {
        calls << QStringLiteral("IdentityReceived ") + ConnectionAddress(kind);
        return identity && identity(ConnectionAddress(kind));
    }
    void ShowConnectedName(const QString& name) override
    {
        calls << QStringLiteral("ShowConnectedName ") + name;
    }
    void ShowConnectedMac(int index, const MacBytes& mac) override
    {
        calls << QStringLiteral("ShowConnectedMac %1 ").arg(index) +
                     QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(mac.data()),
                                                    static_cast<int>(mac.size()))
                                             .toHex(' '));
    }
    void ShowStatusPanel(bool visible) override
    {
        calls << (visible ? QStringLiteral("ShowStatusPanel on") : QStringLiteral("ShowStatusPanel off"));
    }
    void ApplyStatusReply(const StatusReading& status) override
    {
        calls << QStringLiteral("ApplyStatusReply %1 %2%3%4%5")
                     .arg(status.TempText)
                     .arg(int(status.ProtectAlarm))
                     .arg(int(status.TempAlarm))
                     .arg(int(status.VoltageAlarm))
                     .arg(int(status.Standby));
    }
    void ApplyEqBlock(const EqBlock& block) override
    {
        lastBlock = block;
        calls << QStringLiteral("ApplyEqBlock");
    }
    void ApplyBandEcho(const BandEcho& echo) override
    {
        calls << QStringLiteral("ApplyBandEcho %1").arg(echo.BandNumber);
        if (duringBandEcho)
            duringBandEcho();
    }
    void ApplyBypassEcho(bool bypass) override
    {
        calls << QStringLiteral("ApplyBypassEcho %1").arg(bypass ? "on" : "off");
    }
    void ApplyTrimEcho(int trim) override { calls << QStringLiteral("ApplyTrimEcho %1").arg(trim); }
    void PostInfoMessage(int burnCount, int totalMinutes) override
    {
        calls << QStringLiteral("PostInfoMessage %1 %2").arg(burnCount).arg(totalMinutes);
    }
};

class ReplyDispatcherTest : public ::testing::Test {
protected:
    // The connection takes every identity reply as the end of an attempt.
    ReplyDispatcherTest()
    {
        handoffs.identity = [this](const QString& address) {
            state.Connected = true;
            state.ConnectedIndex = devices.IndexOf(address);
            return true;
        };
    }

    // A unit listed the way discovery lists it, with its tile already built.
    void List(const QString& address, int kind)
    {
        ASSERT_TRUE(devices.AddFoundUnit(address, kUnknownMac, kind));
        devices.Flags().AddPending.store(false);
    }

    void FromSerial(const QString& port, const QByteArray& bytes)
    {
        dispatcher.Feed(RxOrigin::SerialPort(port), bytes);
    }
    void FromSocket(const QByteArray& bytes) { dispatcher.Feed(RxOrigin::Socket(), bytes); }

    // 01 20 03 40 <len> 1F 01, the 16-byte name field, the capability, trailer.
    static QByteArray IdentityFrame(const QByteArray& nameField, int capability)
    {
        QByteArray payload("\x01", 1);
        payload += nameField.leftJustified(16, ' ', true);
        payload += static_cast<char>(capability);
        return BuildFrame(Command::Identify, payload);
    }

    void Connect(const QString& viaPort = QStringLiteral("COM3"))
    {
        FromSerial(viaPort, IdentityFrame("UNIT", 17));
        handoffs.calls.clear();
    }

    MainState state;
    DeviceList devices;
    FrameAssembler assembler;
    RecordingHandoffs handoffs;
    ReplyDispatcher dispatcher{state, devices, assembler, handoffs};
};

const QByteArray kPing = Hex("01 20 03 40 09 0B 01 05 60");

// --- Liveness and the ping answer ------------------------------------------------

TEST_F(ReplyDispatcherTest, EveryCompleteFrameCountsAsTraffic)
{
    state.QuietTicks = 7;
    state.Heard = false;
    FromSocket(Hex("01 20 03 40 09 77 01 05 60"));  // a code the host does not know
    EXPECT_TRUE(state.Heard);
    EXPECT_EQ(state.QuietTicks, 0);
    EXPECT_TRUE(handoffs.calls.isEmpty());

    // A broken header dispatches nothing, so it is no sign of life.
    state.Heard = false;
    state.QuietTicks = 4;
    FromSocket(Hex("01 20 01 20 03 40 09 0B 01 05 60"));
    EXPECT_FALSE(state.Heard);
    EXPECT_EQ(state.QuietTicks, 4);
}

TEST_F(ReplyDispatcherTest, SerialPingAnswerListsThePortItCameFromAndHoldsTheProber)
{
    FromSerial(QStringLiteral("/dev/pts/7"), Hex("00 FF") + kPing);
    ASSERT_EQ(devices.Count(), 1);
    const DeviceEntry entry = *devices.EntryAt(0);
    EXPECT_EQ(entry.Address, QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(entry.Mac, QStringLiteral("FFFFFFFFFFFF"));
    EXPECT_EQ(entry.Kind, kSerialUnit);
    EXPECT_TRUE(devices.Flags().ProbeHold.load());
}

TEST_F(ReplyDispatcherTest, PingCompletedBySerialBytesIsCreditedToThatPort)
{
    // Half a frame from one port, the rest from another: the frame is the
    // second port's, since its bytes completed it.
    FromSerial(QStringLiteral("COM4"), kPing.left(5));
    FromSerial(QStringLiteral("COM5"), kPing.mid(5));
    ASSERT_EQ(devices.Count(), 1);
    EXPECT_EQ(devices.EntryAt(0)->Address, QStringLiteral("COM5"));
}

TEST_F(ReplyDispatcherTest, PingAnswerThatAddsNobody)
{
    // Over TCP it is only a sign of life.
    FromSocket(kPing);
    EXPECT_EQ(devices.Count(), 0);
    // Half serial, completed over TCP: a TCP frame.
    FromSerial(QStringLiteral("COM4"), kPing.left(7));
    FromSocket(kPing.mid(7));
    EXPECT_EQ(devices.Count(), 0);
    EXPECT_FALSE(devices.Flags().ProbeHold.load());

    // The connected port answering a keep-alive ping is listed already,
    // whatever the case of its name.
    List(QStringLiteral("COM3"), kSerialUnit);
    Connect();
    FromSerial(QStringLiteral("com3"), kPing);
    EXPECT_EQ(devices.Count(), 1);
    EXPECT_FALSE(devices.Flags().ProbeHold.load());

    // While another unit's tile is being built the answer is dropped, and
    // the prober is not held for it.
    ASSERT_TRUE(devices.AddFoundUnit(QStringLiteral("10.0.0.9"), kUnknownMac, kProbeUnit));
    FromSerial(QStringLiteral("COM8"), kPing);
    EXPECT_EQ(devices.Count(), 2);
    EXPECT_FALSE(devices.Flags().ProbeHold.load());
}

// --- The identity reply ------------------------------------------------------------

TEST_F(ReplyDispatcherTest, IdentityReplyOverSerialEstablishesTheConnection)
{
    List(QStringLiteral("192.168.1.20"), kProbeUnit);
    List(QStringLiteral("COM3"), kSerialUnit);
    state.SendGate = 0;

    FromSerial(QStringLiteral("COM3"), IdentityFrame(QByteArray(" \tHall 2\x01  \0junk", 16), 17));

    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(state.ConnectedIndex, 1);
    EXPECT_EQ(state.SendGate, 9);
    EXPECT_EQ(handoffs.calls,
              QStringList({"IdentityReceived COM3", "ShowConnectedName Hall 2",
                           "ShowStatusPanel on"}));
}

TEST_F(ReplyDispatcherTest, IdentityReplyOverTcpTakesTheSocketHost)
{
    List(QStringLiteral("COM3"), kSerialUnit);
    List(QStringLiteral("192.168.1.20"), kProbeUnit);
    FromSocket(IdentityFrame("AMP", 16));
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(state.ConnectedIndex, 1);
    // Capability 16: no status row.
    EXPECT_EQ(handoffs.calls, QStringList({"IdentityReceived 192.168.1.20", "ShowConnectedName AMP",
                                           "ShowStatusPanel off"}));
}

TEST_F(ReplyDispatcherTest, IdentityNobodyWaitsForNamesNoTileAndOpensNoGate)
{
    List(QStringLiteral("COM3"), kSerialUnit);
    handoffs.identity = [](const QString&) { return false; };
    state.SendGate = 0;
    FromSerial(QStringLiteral("COM3"), IdentityFrame("LATE", 17));
    EXPECT_EQ(state.SendGate, 0);
    EXPECT_EQ(handoffs.calls, QStringList({"IdentityReceived COM3"}));
}

TEST_F(ReplyDispatcherTest, IdentityWithoutCapabilityByteCountsAsNoStatusSupport)
{
    List(QStringLiteral("COM3"), kSerialUnit);
    // Length 12: the name field is cut short and byte 23 never comes.
    FromSerial(QStringLiteral("COM3"), Hex("01 20 03 40 0C 1F 01 41 42 01 05 60"));
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(handoffs.calls.last(), QStringLiteral("ShowStatusPanel off"));
}

TEST_F(ReplyDispatcherTest, IdentityWhileConnectedChangesOnlyTheLiveness)
{
    List(QStringLiteral("COM3"), kSerialUnit);
    List(QStringLiteral("COM4"), kSerialUnit);
    Connect();
    state.SendGate = 3;
    state.ConnectTicks = 2;
    state.QuietTicks = 6;
    state.Heard = false;

    handoffs.comPort1Name = QStringLiteral("COM4");
    FromSerial(QStringLiteral("COM4"), IdentityFrame("OTHER", 17));

    EXPECT_EQ(state.QuietTicks, 0);
    EXPECT_TRUE(state.Heard);
    EXPECT_EQ(state.ConnectedIndex, 0);
    EXPECT_EQ(state.SendGate, 3);
    EXPECT_EQ(state.ConnectTicks, 2);
    EXPECT_TRUE(handoffs.calls.isEmpty());
}

TEST_F(ReplyDispatcherTest, IdentityFromAUnitNoLongerListedHasNoTileToName)
{
    // The unit was removed while the attempt ran.
    FromSerial(QStringLiteral("COM3"), IdentityFrame("GONE", 17));
    EXPECT_TRUE(state.Connected);
    EXPECT_EQ(state.ConnectedIndex, -1);
    EXPECT_FALSE(handoffs.calls.join('|').contains(QStringLiteral("ShowConnectedName")));
    // Nor does a MAC reply find one.
    handoffs.calls.clear();
    FromSerial(QStringLiteral("COM3"), BuildFrame(Command::ReadMac, Hex("00 00 A1 B0 00 00 01")));
    EXPECT_TRUE(handoffs.calls.isEmpty());
}

// --- Echoes and the EQ block --------------------------------------------------------

TEST_F(ReplyDispatcherTest, BandEchoesReachTheEditorOnlyForBandsOneToFive)
{
    for (int band : {0, 1, 5, 6, 255})
        FromSocket(BuildFrame(Command::SetBand,
                              QByteArray("\x0A", 1) + static_cast<char>(band) + Hex("01 01 00 18 23 00")));
    EXPECT_EQ(handoffs.calls, QStringList({"ApplyBandEcho 1", "ApplyBandEcho 5"}));
    // A band frame cut before its off flag is no echo either.
    handoffs.calls.clear();
    FromSocket(Hex("01 20 03 40 0D 11 0A 02 01 01 00 18 23"));
    EXPECT_TRUE(handoffs.calls.isEmpty());
}

TEST_F(ReplyDispatcherTest, TrimAndBypassEchoesReachTheEditor)
{
    const QByteArray trim = Hex("01 20 03 40 0B 0E 6B 48 01 05 60");
    const QByteArray bypass = Hex("01 20 03 40 0B 13 00 01 01 05 60");
    FromSerial(QStringLiteral("COM3"), trim + bypass);
    EXPECT_EQ(handoffs.calls, QStringList({"ApplyTrimEcho -7", "ApplyBypassEcho on"}));
    // Length 6 ends a frame right after its command byte: no field to read.
    handoffs.calls.clear();
    FromSocket(Hex("01 20 03 40 06 0E") + Hex("01 20 03 40 06 13"));
    EXPECT_TRUE(handoffs.calls.isEmpty());
}

TEST_F(ReplyDispatcherTest, EqBlockClosesTheSendGateThenReachesTheEditor)
{
    state.SendGate = 7;
    EqBlock block = ResetBlock;
    block[kBlockTrimOffset] = 0x55;
    FromSocket(WriteEqBlockFrame(block));
    EXPECT_EQ(handoffs.calls, QStringList({"ApplyEqBlock"}));
    EXPECT_EQ(handoffs.lastBlock, block);
    EXPECT_EQ(state.SendGate, 0);

    // A 0x14 frame shorter than a block is not one.
    handoffs.calls.clear();
    state.SendGate = 3;
    FromSocket(Hex("01 20 03 40 09 14 01 05 60"));
    EXPECT_TRUE(handoffs.calls.isEmpty());
    EXPECT_EQ(state.SendGate, 3);
}

// --- MAC, status and information ------------------------------------------------------

TEST_F(ReplyDispatcherTest, MacReplyOverTcpGoesToTheUnitAtTheOtherEnd)
{
    const QByteArray mac = BuildFrame(Command::ReadMac, Hex("00 00 1A 2B 3C 4D 5E"));
    // Not listed: nobody to give it to.
    FromSocket(mac);
    EXPECT_TRUE(handoffs.calls.isEmpty());

    List(QStringLiteral("192.168.1.7"), kProbeUnit);
    List(QStringLiteral("192.168.1.20"), kProbeUnit);
    // Unit 0 was connected and disconnected by a click: ConnectedIndex still
    // names it. Unit 1's MAC, asked for before its Identify, is still its own.
    state.ConnectedIndex = 0;
    FromSocket(mac);
    EXPECT_EQ(handoffs.calls, QStringList({"ShowConnectedMac 1 00 1a 2b 3c 4d 5e"}));
}

TEST_F(ReplyDispatcherTest, MacReplyOverSerialGoesToTheConnectedUnitOnly)
{
    const QByteArray mac = BuildFrame(Command::ReadMac, Hex("00 00 1A 2B 3C 4D 5E"));
    List(QStringLiteral("COM3"), kSerialUnit);
    FromSerial(QStringLiteral("COM3"), mac);
    EXPECT_TRUE(handoffs.calls.isEmpty());
    Connect();
    FromSerial(QStringLiteral("COM3"), mac);
    EXPECT_EQ(handoffs.calls, QStringList({"ShowConnectedMac 0 00 1a 2b 3c 4d 5e"}));
}

TEST_F(ReplyDispatcherTest, StatusReplyIsHandedOnReadAndAShortOneIsDropped)
{
    // Raw temperature 0x0101 = 257 shows 70; every flag byte is set.
    const QByteArray status = BuildFrame(Command::ReadStatus, QByteArray(15, '\x01'));
    FromSocket(status);
    EXPECT_EQ(handoffs.calls, QStringList({QStringLiteral("ApplyStatusReply Temperature:70℃ 1111")}));
    handoffs.calls.clear();
    FromSocket(Hex("01 20 03 40 14 23") + QByteArray(14, '\0'));  // ends before the standby flag
    EXPECT_TRUE(handoffs.calls.isEmpty());
}

TEST_F(ReplyDispatcherTest, InfoReplyIsPostedWithTotalMinutes)
{
    // L = 1441 (0x05A1), H = 0: one day, no hour, one minute.
    FromSocket(BuildFrame(Command::ReadInfo, Hex("00 03 00 A1 05 00 00")));
    // L = 1441, H = 2: 21441 minutes.
    FromSocket(BuildFrame(Command::ReadInfo, Hex("00 FF 00 A1 05 02 00")));
    EXPECT_EQ(handoffs.calls,
              QStringList({"PostInfoMessage 3 1441", "PostInfoMessage 255 21441"}));
    EXPECT_EQ(InfoMessageText(3, 1441),
              QStringLiteral("Burning success times:3\nTime:1 day, 0 hour, 1 minute"));

    handoffs.calls.clear();
    FromSocket(Hex("01 20 03 40 0C 24 00 03 00 A1 05 00"));  // H missing
    EXPECT_TRUE(handoffs.calls.isEmpty());
}

// --- Order of arrival --------------------------------------------------------------------

TEST_F(ReplyDispatcherTest, BytesArrivingWhileAFrameIsActedOnFollowItInOrder)
{
    // The editor's pause lets another source's bytes in: they are assembled
    // after the current frame and credited to their own source.
    const QByteArray band2 =
        BuildFrame(Command::SetBand, Hex("0A 02 01 01 00 18 23 00"));
    const QByteArray band3 =
        BuildFrame(Command::SetBand, Hex("0A 03 01 01 00 18 23 00"));
    bool nested = false;
    handoffs.duringBandEcho = [&] {
        if (nested)
            return;
        nested = true;
        FromSerial(QStringLiteral("COM9"), kPing);
    };
    FromSocket(band2 + band3);
    EXPECT_EQ(handoffs.calls, QStringList({"ApplyBandEcho 2", "ApplyBandEcho 3"}));
    ASSERT_EQ(devices.Count(), 1);
    EXPECT_EQ(devices.EntryAt(0)->Address, QStringLiteral("COM9"));
}

}  // namespace
