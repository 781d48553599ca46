// The device column with real tiles and the real DeviceTimer: placement,
// texts, removal, the connected unit's frame, the tile gate, the presence
// watch and USB removal.
#include "DeviceColumnFixture.h"

#include <QSignalSpy>

#include <thread>

namespace qireq::test {
namespace {

using Bevel = TDevicePanel::Bevel;

TEST_F(DeviceColumnTest, ThreeUnitsFoundInTurnStackDownTheColumn)
{
    FindThree();
    const QVector<TDevicePanel*> tiles = column->Tiles();
    ASSERT_EQ(tiles.size(), 3);
    const int tops[] = {10, 101, 192};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tiles[i]->geometry(), QRect(7, tops[i], 150, 81)) << i;
        EXPECT_EQ(tiles[i]->Tag(), i);
        EXPECT_EQ(tiles[i]->NameLabel->text(), QString("Device%1").arg(i));
        EXPECT_EQ(tiles[i]->BevelOuter(), Bevel::Raised);
        EXPECT_TRUE(tiles[i]->isVisible());
    }
    EXPECT_EQ(countLabel->text(), "3");
    EXPECT_FALSE(list.Flags().AddPending.load());
    EXPECT_FALSE(deviceTimer->isActive());
}

TEST_F(DeviceColumnTest, TilesShowPortOrIpAndTheMacWithColons)
{
    FindThree();
    const QVector<TDevicePanel*> tiles = column->Tiles();
    EXPECT_EQ(tiles[0]->AddressCaption->text(), "Port:");
    EXPECT_EQ(tiles[0]->AddressLabel->text(), "COM3");
    EXPECT_EQ(tiles[0]->MacLabel->text(), "FF:FF:FF:FF:FF:FF");
    EXPECT_EQ(tiles[1]->AddressCaption->text(), "IP:");
    EXPECT_EQ(tiles[1]->AddressLabel->text(), "192.168.1.20");
    EXPECT_EQ(tiles[1]->MacLabel->text(), "00:1A:2B:3C:4D:5E");
    EXPECT_EQ(tiles[2]->AddressCaption->text(), "IP:");

    // Long addresses are not cut off inside the tile.
    const QFontMetrics metrics(tiles[1]->AddressLabel->font());
    EXPECT_GE(tiles[1]->AddressLabel->width(), metrics.horizontalAdvance("192.168.1.20"));
    EXPECT_LE(tiles[1]->MacLabel->geometry().right(), 150);
}

TEST_F(DeviceColumnTest, RemovingTheFirstUnitMovesTheOthersUp)
{
    FindThree();
    TDevicePanel* second = column->TileAt(1);
    TDevicePanel* third = column->TileAt(2);
    column->RemoveUnit(0);

    ASSERT_EQ(column->Tiles(), (QVector<TDevicePanel*>{second, third}));
    EXPECT_EQ(second->geometry().topLeft(), QPoint(7, 10));
    EXPECT_EQ(third->geometry().topLeft(), QPoint(7, 101));
    EXPECT_EQ(second->Tag(), 0);
    EXPECT_EQ(third->Tag(), 1);
    EXPECT_EQ(list.EntryAt(0)->Index, 0);
    EXPECT_EQ(list.EntryAt(1)->Index, 1);
    EXPECT_EQ(second->NameLabel->text(), "Device1");
    EXPECT_EQ(third->NameLabel->text(), "Device2");
    EXPECT_EQ(countLabel->text(), "2");

    TDevicePanel* next = Find("COM9", kSerialUnit);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->NameLabel->text(), "Device2");
    EXPECT_EQ(next->y(), 192);
    EXPECT_EQ(countLabel->text(), "3");
}

TEST_F(DeviceColumnTest, RemovingAnIndexThatIsNotThereChangesNothing)
{
    FindThree();
    column->RemoveUnit(3);
    column->RemoveUnit(-1);
    EXPECT_EQ(column->Tiles().size(), 3);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(countLabel->text(), "3");
}

TEST_F(DeviceColumnTest, TheConnectedUnitGetsItsNameMacAndTheGreenFrame)
{
    FindThree();
    TDevicePanel* tile = column->TileAt(1);
    tile->RedCross->show();
    state.ConnectedIndex = 1;
    column->ShowConnectedName("Hall");
    column->ShowConnectedMac(state.ConnectedIndex, {0x00, 0xA1, 0xB0, 0x1A, 0x2B, 0x3C});

    EXPECT_EQ(tile->NameLabel->text(), "Hall");
    EXPECT_EQ(list.EntryAt(1)->Name, "Hall");
    EXPECT_EQ(tile->MacLabel->text(), "00:A1:B0:1A:2B:3C");
    EXPECT_EQ(list.EntryAt(1)->Mac, "00A1B01A2B3C");
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->geometry(), QRect(2, 96, 160, 89));
    EXPECT_FALSE(tile->RedCross->isVisible());
}

// The connection hears of a removal before the frame is placed again: it
// moves with the connected tile wherever the connection says it now is.
TEST_F(DeviceColumnTest, RemovingAUnitTellsTheConnectionThenMovesTheFrameWithIt)
{
    FindThree();
    state.ConnectedIndex = 2;
    column->ShowConnectedName("Stage");
    QVector<QPair<int, bool>> removals;
    QObject::connect(column.get(), &DeviceTileColumn::UnitRemoved, [&](int index, bool serial) {
        removals.append({index, serial});
        if (state.ConnectedIndex > index)
            --state.ConnectedIndex;
    });

    column->RemoveUnit(0);
    EXPECT_EQ(frame->geometry().topLeft(), QPoint(2, 96));
    EXPECT_TRUE(frame->isVisible());
    // A unit below the connected one leaves the frame where it is.
    ASSERT_NE(Find("COM9", kSerialUnit), nullptr);
    column->RemoveUnit(2);
    EXPECT_EQ(frame->geometry().topLeft(), QPoint(2, 96));
    EXPECT_EQ(removals, (QVector<QPair<int, bool>>{{0, true}, {2, true}}));
}

TEST_F(DeviceColumnTest, RepliesForAUnitWithoutTileChangeNoTile)
{
    FindThree();
    // The identity reply of a unit no longer listed finds no index.
    state.ConnectedIndex = -1;
    column->ShowConnectedName("Ghost");
    column->ShowConnectedMac(state.ConnectedIndex, {1, 2, 3, 4, 5, 6});
    state.ConnectedIndex = 7;
    column->ShowConnectedName("Ghost");
    column->ShowRedCross(7);
    EXPECT_FALSE(frame->isVisible());
    for (TDevicePanel* tile : column->Tiles())
        EXPECT_NE(tile->NameLabel->text(), "Ghost");
}

// --- The tile gate --------------------------------------------------------------

TEST_F(DeviceColumnTest, AUnitRemovedBeforeItsTileExistsDoesNotBlockDiscovery)
{
    ASSERT_NE(Find("COM3", kSerialUnit), nullptr);
    ASSERT_TRUE(list.AddFoundUnit("COM4", kUnknownMac, kSerialUnit));
    EXPECT_TRUE(deviceTimer->isActive());
    column->RemoveUnit(1);  // before the DeviceTimer tick
    EXPECT_EQ(countLabel->text(), "1");

    ASSERT_TRUE(QTest::qWaitFor([&] { return !list.Flags().AddPending.load(); }, 1000));
    EXPECT_FALSE(deviceTimer->isActive());
    EXPECT_EQ(column->Tiles().size(), 1);

    TDevicePanel* next = Find("COM5", kSerialUnit);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->Tag(), 1);
    EXPECT_EQ(next->AddressLabel->text(), "COM5");
}

TEST_F(DeviceColumnTest, AnEmptiedListOpensTheGateToo)
{
    ASSERT_TRUE(list.AddFoundUnit("10.0.0.5", kUnknownMac, kProbeUnit));
    column->RemoveUnit(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list.Flags().AddPending.load(); }, 1000));
    EXPECT_TRUE(column->Tiles().isEmpty());
    EXPECT_EQ(countLabel->text(), "0");
    EXPECT_NE(Find("10.0.0.6", kProbeUnit), nullptr);
}

TEST_F(DeviceColumnTest, AUnitMovedUpByARemovalStillGetsItsTile)
{
    ASSERT_NE(Find("COM3", kSerialUnit), nullptr);
    ASSERT_TRUE(list.AddFoundUnit("10.0.0.5", kUnknownMac, kProbeUnit));
    column->RemoveUnit(0);  // the unit above the one waiting for its tile

    ASSERT_TRUE(QTest::qWaitFor([&] { return column->Tiles().size() == 1; }, 1000));
    TDevicePanel* tile = column->TileAt(0);
    EXPECT_EQ(tile->AddressLabel->text(), "10.0.0.5");
    EXPECT_EQ(tile->NameLabel->text(), "Device1");
    EXPECT_EQ(tile->Tag(), 0);
    EXPECT_EQ(tile->y(), 10);
    EXPECT_FALSE(list.Flags().AddPending.load());
    EXPECT_EQ(countLabel->text(), "1");
}

TEST_F(DeviceColumnTest, UnitsFoundOnOtherThreadsGetTheirTimersOnThisOne)
{
    QSignalSpy closeTicks(closeTimer, &QTimer::timeout);
    std::thread lan([&] { list.AddFoundUnit("10.0.0.9", kUnknownMac, kModuleUnit); });
    lan.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return column->Tiles().size() == 1; }, 1000));
    EXPECT_EQ(column->TileAt(0)->AddressCaption->text(), "IP:");
    QTest::qWait(50);
    EXPECT_EQ(closeTicks.count(), 0);  // only a serial find releases the probing port

    std::thread prober([&] { list.AddFoundUnit("COM3", kUnknownMac, kSerialUnit); });
    prober.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return column->Tiles().size() == 2; }, 1000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return closeTicks.count() == 1; }, 1000));
}

// --- Missing marks -------------------------------------------------------------------

TEST_F(DeviceColumnTest, PresenceWatchMarksSilentLanUnitsOnConsecutiveTicks)
{
    FindThree();
    for (int tick = 1; tick < DeviceList::kSilentTicks; ++tick)
        column->DisconnectTimerTimer();
    for (TDevicePanel* tile : column->Tiles())
        EXPECT_FALSE(tile->RedCross->isVisible());

    column->DisconnectTimerTimer();
    EXPECT_FALSE(column->TileAt(0)->RedCross->isVisible());  // serial units are not watched
    EXPECT_TRUE(column->TileAt(1)->RedCross->isVisible());
    EXPECT_FALSE(column->TileAt(2)->RedCross->isVisible());
    column->DisconnectTimerTimer();
    EXPECT_TRUE(column->TileAt(2)->RedCross->isVisible());
    EXPECT_FALSE(list.Flags().ScanBusy.load());

    // Hearing a unit again does not take its mark away.
    list.ResetSilenceCounter("192.168.1.20");
    column->DisconnectTimerTimer();
    EXPECT_TRUE(column->TileAt(1)->RedCross->isVisible());
}

TEST_F(DeviceColumnTest, PresenceWatchWaitsWhileTheListChanges)
{
    FindThree();
    list.Flags().ListChanging.store(true);
    for (int tick = 0; tick < 30; ++tick)
        column->DisconnectTimerTimer();
    EXPECT_EQ(list.SilenceCounters(), (QVector<int>{0, 0, 0}));
    list.Flags().ListChanging.store(false);
}

TEST_F(DeviceColumnTest, UnpluggingMarksTheFirstSerialUnitWhosePortIsGone)
{
    ASSERT_NE(Find("COM3", kSerialUnit), nullptr);
    ASSERT_NE(Find("COM4", kSerialUnit), nullptr);
    ASSERT_NE(Find("COM5", kSerialUnit), nullptr);

    // COM3 and COM4 pulled at once: only the first is marked.
    EXPECT_EQ(column->MarkUnpluggedSerialUnit({"COM5"}), 0);
    EXPECT_TRUE(column->TileAt(0)->RedCross->isVisible());
    EXPECT_FALSE(column->TileAt(1)->RedCross->isVisible());

    EXPECT_EQ(column->MarkUnpluggedSerialUnit({"com3", "Com4"}), 2);  // names compare without case
    EXPECT_TRUE(column->TileAt(2)->RedCross->isVisible());
    EXPECT_EQ(column->MarkUnpluggedSerialUnit({"COM3", "COM4", "COM5"}), -1);
}

// --- Search countdown -------------------------------------------------------------------

// What the label shows is its whole text, not the part that fits the size
// it had for "15".
void ExpectWholeTextShown(const QLabel& label)
{
    EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.contentsRect().width())
        << label.text().toStdString();
}

TEST_F(DeviceColumnTest, CountdownRunsFrom14To1ThenShowsNoDevice)
{
    searchTimer->start();
    for (int expected = 14; expected >= 1; --expected) {
        column->SearchTimerTimer();
        EXPECT_EQ(timeLabel->text(), QString::number(expected));
        ExpectWholeTextShown(*timeLabel);
    }
    EXPECT_TRUE(searchTimer->isActive());
    column->SearchTimerTimer();
    EXPECT_EQ(timeLabel->text(), "No Device");
    ExpectWholeTextShown(*timeLabel);
    EXPECT_EQ(timeLabel->pos(), QPoint(80, 8));
    EXPECT_LE(timeLabel->geometry().right(), box->viewport()->width()) << "inside the column";
    EXPECT_FALSE(searchTimer->isActive());
    EXPECT_EQ(column->SearchCountdown(), 15);
}

TEST_F(DeviceColumnTest, CountdownTicksEverySecondOnTheRealTimer)
{
    searchTimer->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return timeLabel->text() == "14"; }, 1500));
    EXPECT_TRUE(QTest::qWaitFor([&] { return timeLabel->text() == "13"; }, 1500));
    searchTimer->stop();
}

}  // namespace
}  // namespace qireq::test
