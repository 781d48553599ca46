// A unit on the LAN, end to end over loopback TCP: what goes out when the
// connection stands, the MAC on the tile, and moving from one tile to
// another. The connection's rules themselves (failure, Cancel, keep-alive)
// are checked with hand-driven ticks in tests/connection.
#include "support/EndToEnd.h"

#include "controls/Devicepanel.h"
#include "controls/PaintBox.h"
#include "controls/PictureButton.h"
#include "dialogs/Progressform.h"
#include "protocol/Frames.h"

#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>


using namespace qireq;
using namespace qireq::e2e;

namespace {

const QString kLoopback = QStringLiteral("127.0.0.1");

class LanEndToEndTest : public EndToEndTest {
protected:
    // A window whose LAN units are reached on the simulated unit's port.
    void OpenWindowFor(int port, const MainWindowSeams& base = NoDiscovery())
    {
        MainWindowSeams seams = base;
        seams.LanPort = port;
        OpenWindow(seams);
    }

    SimProcess& StartTcpSim(QStringList extra = {})
    {
        extra << QStringLiteral("--tcp") << QStringLiteral("127.0.0.1:0");
        return StartSim(extra);
    }
};

TEST_F(LanEndToEndTest, ConnectionSendsReadMacBlockThenIdentifyAndTheMacReachesTheTile)
{
    // The test plays the unit to see the bytes exactly as they arrive.
    QTcpServer unit;
    ASSERT_TRUE(unit.listen(QHostAddress::LocalHost, 0));
    OpenWindowFor(unit.serverPort());
    ListUnit(kLoopback, kProbeUnit);
    EXPECT_EQ(Tile(0)->AddressCaption->Caption(), QStringLiteral("IP:"));
    ClickTile(0);
    EXPECT_FALSE(form->RefreshBtn->isEnabled()) << "Refresh waits while a LAN attempt runs";

    ASSERT_TRUE(WaitFor([&] { return unit.hasPendingConnections(); }, 3000));
    QTcpSocket* peer = unit.nextPendingConnection();
    QByteArray received;
    WaitFor([&] {
        received += peer->readAll();
        return received.size() >= 159;
    }, 3000);
    ASSERT_GE(received.size(), 159);
    EXPECT_EQ(received.left(150), ReadMacBlock()) << "ReadMac and 141 zero bytes in one write";
    EXPECT_EQ(received.mid(150, 9), IdentifyRequest());

    // MAC first, as a unit answers them in turn, then the identity.
    peer->write(BuildFrame(Command::ReadMac, QByteArray::fromHex("00 00 A1 B0 12 34 56")));
    QByteArray identity("\x01", 1);
    identity += QByteArray("HALL AMP").leftJustified(16, ' ');
    identity += '\x10';
    peer->write(BuildFrame(Command::Identify, identity));
    ASSERT_TRUE(WaitConnected(3000));
    EXPECT_EQ(Tile(0)->MacLabel->Caption(), QStringLiteral("00:A1:B0:12:34:56"));
    EXPECT_EQ(Parts().Devices.EntryAt(0)->Mac, QStringLiteral("00A1B0123456"));
    EXPECT_EQ(Tile(0)->NameLabel->Caption(), QStringLiteral("HALL AMP"));
    EXPECT_TRUE(form->RefreshBtn->isEnabled());
    EXPECT_FALSE(form->TempLabel->isVisible()) << "capability 16 gets no status row";
}

// The window's side of Cancel: the dialog's button reaches the connection,
// and the flag's hint line then says the unit is not connected.
TEST_F(LanEndToEndTest, CancelOnTheConnectingDialogEndsTheAttempt)
{
    QTcpServer unit;  // accepts, never answers
    ASSERT_TRUE(unit.listen(QHostAddress::LocalHost, 0));
    OpenWindowFor(unit.serverPort());
    ListUnit(kLoopback, kProbeUnit);
    ClickTile(0);
    auto* dialog = qobject_cast<TProgressBarForm*>(form->ProgressForm.data());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());

    QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(form->ConnectTimer->isActive());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(Parts().ClientSocket1.Active());
    EXPECT_TRUE(form->RefreshBtn->isEnabled());
    QTest::mouseMove(form->connectflagImage, QPoint(5, 5));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Device:"));
    EXPECT_EQ(form->Label3->text(), QStringLiteral("Off"));
    EXPECT_TRUE(boxes.Boxes().isEmpty());
}

TEST_F(LanEndToEndTest, ClickOnAnotherTileMovesTheConnectionThere)
{
    // One simulated unit reachable both ways: on a pseudo-terminal, found by
    // the prober, and on loopback TCP, listed as a LAN unit.
    SimProcess& sim = StartSim({QStringLiteral("--pty"), QStringLiteral("--tcp"),
                                QStringLiteral("127.0.0.1:0")});
    const QString pty = sim.WaitForLine(QStringLiteral("PTY "));
    OpenWindowFor(TcpPort(sim), ProbedPorts({pty}));
    ASSERT_TRUE(WaitForTiles(1, 10000));
    ListUnit(kLoopback, kProbeUnit);

    ClickTile(0);
    ASSERT_TRUE(WaitConnected(3000));
    ASSERT_EQ(State().ConnectedIndex, 0);
    ASSERT_TRUE(WaitFor([&] { return form->TempLabel->isVisible(); }, 1000));

    ClickTile(1);
    // The serial unit is let go at once ...
    EXPECT_FALSE(State().Connected);
    EXPECT_FALSE(Parts().ComPort1.Connected());
    EXPECT_FALSE(form->TempLabel->isVisible());
    EXPECT_FALSE(form->ProgressForm.isNull());
    // ... and the LAN unit is connected: name, MAC and frame on tile 1.
    ASSERT_TRUE(WaitConnected(3000));
    EXPECT_EQ(State().ConnectedIndex, 1);
    EXPECT_EQ(Tile(1)->NameLabel->Caption(), QStringLiteral("QIR-SIM"));
    EXPECT_TRUE(WaitFor([&] { return Tile(1)->MacLabel->Caption() == QStringLiteral("00:A1:B0:00:00:01"); }, 2000));
    EXPECT_EQ(Tile(0)->MacLabel->Caption(), QStringLiteral("FF:FF:FF:FF:FF:FF"));
    EXPECT_EQ(form->DevicePaintBox->pos(), Tile(1)->pos() - QPoint(5, 5));
    EXPECT_TRUE(form->TempLabel->isVisible());
    EXPECT_TRUE(boxes.Boxes().isEmpty());

    // Clicking the connected LAN tile disconnects it and opens nothing new.
    const int identifies = SimCount(sim, IdentifyRequest());
    ClickTile(1);
    EXPECT_FALSE(State().Connected);
    EXPECT_TRUE(form->ProgressForm.isNull());
    EXPECT_FALSE(form->ConnectTimer->isActive());
    QTest::qWait(1500);
    EXPECT_EQ(SimCount(sim, IdentifyRequest()), identifies);
    EXPECT_FALSE(State().Connected);
}

}  // namespace
