// A unit on a serial port, end to end: found by the prober on its pseudo-
// terminal, connected by a click on its tile, edited, disconnected; the
// connected unit unplugged; a port this user may not open. The connection's
// rules themselves are checked with hand-driven ticks in tests/connection.
#include "support/EndToEnd.h"

#include "controls/Artwork.h"
#include "controls/CSpinButton.h"
#include "controls/Devicepanel.h"
#include "controls/PaintBox.h"
#include "controls/PictureButton.h"
#include "controls/TShape.h"
#include "editor/BandEditor.h"
#include "eq/EqDisplay.h"
#include "protocol/Frames.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace qireq;
using namespace qireq::e2e;

namespace {

class SerialEndToEndTest : public EndToEndTest {
protected:
    BandEditor& Editor() { return *form->Editor; }
    static void Press(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
};

TEST_F(SerialEndToEndTest, ClickConnectsReadsTheBlockFollowsEditsAndClickAgainDisconnects)
{
    SimProcess& sim = StartSim({QStringLiteral("--pty")});
    const QString pty = sim.WaitForLine(QStringLiteral("PTY "));
    ASSERT_FALSE(pty.isEmpty());
    OpenWindow(ProbedPorts({pty}));

    // The prober pings the port on ComPort2 and the answer lists the unit.
    ASSERT_TRUE(WaitForTiles(1, 10000)) << "the prober found no unit on " << pty.toStdString();
    EXPECT_TRUE(SimGot(sim, PingRequest()));
    TDevicePanel* tile = Tile(0);
    EXPECT_EQ(tile->AddressLabel->Caption(), pty);
    EXPECT_EQ(tile->AddressCaption->Caption(), QStringLiteral("Port:"));
    EXPECT_EQ(tile->NameLabel->Caption(), QStringLiteral("Device0"));
    EXPECT_TRUE(Parts().Devices.Flags().ProbeHold.load());
    // The probing port lets the port go.
    ASSERT_TRUE(WaitFor([&] { return !Parts().ComPort2.Connected(); }, 3000));

    // Local edits before connecting: trim one step down, band 2 to Low Shelf.
    QTest::mousePress(Editor().TrimDecImg(), Qt::LeftButton);
    QTest::mouseRelease(Editor().TrimDecImg(), Qt::LeftButton);
    Press(Editor().Band(2).EQType);
    ASSERT_EQ(State().Eq.Trim, -1);
    ASSERT_EQ(State().Eq.Bands[1].BandType, 2);

    ClickTile(0);
    EXPECT_FALSE(form->ProgressForm.isNull()) << "the connecting dialog shows while the attempt runs";
    EXPECT_TRUE(SimGot(sim, IdentifyRequest()));
    ASSERT_TRUE(WaitConnected(3000));

    // The identity reply: the unit's name, the green frame, the status row.
    EXPECT_EQ(State().ConnectedIndex, 0);
    EXPECT_EQ(tile->NameLabel->Caption(), QStringLiteral("QIR-SIM"));
    EXPECT_TRUE(form->DevicePaintBox->isVisible());
    EXPECT_EQ(form->DevicePaintBox->pos(), tile->pos() - QPoint(5, 5));
    EXPECT_FALSE(tile->RedCross->isVisible());
    EXPECT_TRUE(form->TempLabel->isVisible()) << "capability 17 shows the status row";
    EXPECT_TRUE(form->ReadStateTimer->isActive());
    EXPECT_TRUE(form->ProgressForm.isNull());
    EXPECT_TRUE(form->RefreshBtn->isEnabled());
    EXPECT_EQ(form->connectflagImage->ShownPicture(), artwork::kFlagConnected);
    EXPECT_EQ(form->ConnectShape->BrushColor(), QColor(0, 255, 0));

    // 20 ms later the EQ block is read, and the unit's block (its reset
    // setting) replaces what was edited locally on every control.
    EXPECT_TRUE(SimGot(sim, ReadEqBlockRequest()));
    ASSERT_TRUE(WaitFor([&] { return Editor().TrimEdit()->text() == QStringLiteral("0"); }, 3000));
    const char* frequencies[] = {"19.7", "62.5", "198.4", "630.0", "2010.0"};
    for (int band = 1; band <= 5; ++band) {
        SCOPED_TRACE(band);
        EXPECT_EQ(Editor().Band(band).FreqEdit->text(), QString::fromLatin1(frequencies[band - 1]));
        EXPECT_EQ(Editor().Band(band).QEdit->text(), QStringLiteral("0.40"));
        EXPECT_EQ(State().Eq.Bands[static_cast<std::size_t>(band - 1)].BandType, 1);
    }

    // An edit sends exactly one band frame; the controls follow the echo.
    QTest::mouseClick(Editor().Band(3).QCButton, Qt::LeftButton, {}, QPoint(8, 4));
    const QByteArray sent = SetBandFrame(3).Fill(State().Eq.Bands[2]);
    EXPECT_EQ(State().Eq.Bands[2].BandQ, 1);
    EXPECT_TRUE(SimGot(sim, sent));
    EXPECT_TRUE(WaitFor([&] { return Editor().Band(3).QEdit->text() == QText(1); }, 3000));

    // A click on the connected tile disconnects and starts nothing.
    const int identifies = SimCount(sim, IdentifyRequest());
    ClickTile(0);
    EXPECT_FALSE(State().Connected);
    EXPECT_FALSE(form->DevicePaintBox->isVisible());
    EXPECT_FALSE(form->TempLabel->isVisible());
    EXPECT_FALSE(form->ReadStateTimer->isActive());
    EXPECT_FALSE(form->CheckTimer->isActive());
    EXPECT_FALSE(form->ConnectTimer->isActive());
    EXPECT_TRUE(form->ProgressForm.isNull());
    EXPECT_EQ(form->connectflagImage->ShownPicture(), artwork::kFlagDisconnected);
    QTest::qWait(1500);
    EXPECT_EQ(SimCount(sim, IdentifyRequest()), identifies);
    EXPECT_TRUE(boxes.Boxes().isEmpty());
}

TEST_F(SerialEndToEndTest, UnpluggingTheConnectedUnitMarksItAndDropsTheConnection)
{
    SimProcess& sim = StartSim({QStringLiteral("--pty"), QStringLiteral("--capability"),
                                QStringLiteral("16")});
    const QString pty = sim.WaitForLine(QStringLiteral("PTY "));
    auto ports = std::make_shared<QStringList>(QStringList{pty});
    MainWindowSeams seams = NoDiscovery();
    seams.EnumerateSerialPorts = [ports] { return *ports; };
    OpenWindow(seams);
    ListUnit(pty, kSerialUnit);
    ClickTile(0);
    ASSERT_TRUE(WaitConnected(3000));

    // The port vanishes from the system's list, then the removal is reported.
    ports->clear();
    form->DeviceChgMsg(DeviceChange::Removed);
    EXPECT_TRUE(Tile(0)->RedCross->isVisible());
    EXPECT_FALSE(State().Connected);
    EXPECT_FALSE(form->DevicePaintBox->isVisible());
    EXPECT_FALSE(form->CheckTimer->isActive());
    EXPECT_FALSE(form->ReconnectTimer->isActive()) << "no reconnect loop after an unplug";
    EXPECT_TRUE(Parts().PortNames.Snapshot().isEmpty());
    EXPECT_FALSE(Parts().Devices.Flags().ListChanging.load());

    // Plugged in again: the port list is read afresh.
    *ports = QStringList{pty};
    form->DeviceChgMsg(DeviceChange::Arrived);
    EXPECT_EQ(Parts().PortNames.Snapshot(), QStringList{pty});
}

// A port this user may not open: the prober leaves it alone and the window
// says once, beside itself, which group to join.
TEST_F(SerialEndToEndTest, APortThisUserMayNotOpenIsExplainedOnce)
{
    const QString refused = QStringLiteral("/dev/ttyUSB-not-ours");
    MainWindowSeams seams = ProbedPorts({refused});
    seams.SerialPortAccess = [refused](const QString& port) {
        return port == refused ? std::optional<QString>(QStringLiteral("dialout")) : std::nullopt;
    };
    OpenWindow(seams);
    ASSERT_TRUE(WaitFor([this] { return !boxes.Boxes().isEmpty(); }, 4000));
    QTest::qWait(3500);  // another pass
    ASSERT_EQ(boxes.Boxes().size(), 1);
    const MessageBoxes::Record& notice = boxes.Boxes().front();
    EXPECT_EQ(notice.kind, MessageBoxes::Kind::Notice);
    EXPECT_TRUE(notice.text.contains(refused));
    EXPECT_TRUE(notice.text.contains(QStringLiteral("\"dialout\"")));
    EXPECT_TRUE(notice.text.contains(QStringLiteral("log out and log in again")));
    EXPECT_EQ(Parts().Devices.Count(), 0);
}

}  // namespace
