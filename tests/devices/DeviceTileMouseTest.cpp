// Real mouse events on real tiles, sent to the window as the window system
// would: presses on the bare tile, on captions, on value labels and on the
// missing mark; right presses and the popup menu.
#include "DeviceColumnFixture.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>

namespace qireq::test {
namespace {

using Bevel = TDevicePanel::Bevel;

class DeviceTileMouseTest : public DeviceColumnTest {
protected:
    void SetUp() override
    {
        DeviceColumnTest::SetUp();
        FindThree();
        tile = column->TileAt(1);
    }
    void TearDown() override
    {
        if (QMenu* menu = column->DeviceMenu(); menu && menu->isVisible())
            menu->hide();
        DeviceColumnTest::TearDown();
    }

    void Press(QWidget* on, QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(Handle(), button, {}, At(on, p));
    }
    void Release(QWidget* on, QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(Handle(), button, {}, At(on, p));
    }

    TDevicePanel* tile = nullptr;
};

TEST_F(DeviceTileMouseTest, LeftPressLowersTheTileAndAClickAsksToConnect)
{
    QSignalSpy clicks(column.get(), &DeviceTileColumn::DevicePanelClick);
    Press(tile, {140, 70});  // bare surface
    EXPECT_EQ(tile->BevelOuter(), Bevel::Lowered);
    EXPECT_EQ(state.ClickedIndex, 1);
    EXPECT_EQ(clicks.count(), 0);
    Release(tile, {140, 70});
    EXPECT_EQ(tile->BevelOuter(), Bevel::Raised);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(DeviceTileMouseTest, LabelsAndTheMissingMarkPressTheTile)
{
    QSignalSpy clicks(column.get(), &DeviceTileColumn::DevicePanelClick);
    tile->RedCross->show();
    struct Spot {
        QWidget* on;
        QPoint at;
    };
    const Spot spots[] = {
        {tile->NameLabel, {5, 5}},       // value labels report through their own handlers
        {tile->AddressLabel, {5, 5}},
        {tile->MacLabel, {5, 5}},
        {tile->AddressCaption, {5, 5}},  // captions let the press through
        {tile->RedCross, {22, 22}},      // so does the mark, not covering a label there
    };
    int expectedClicks = 0;
    for (const Spot& spot : spots) {
        state.ClickedIndex = 0;
        Press(spot.on, spot.at);
        EXPECT_EQ(tile->BevelOuter(), Bevel::Lowered) << spot.on->objectName().toStdString();
        EXPECT_EQ(state.ClickedIndex, 1) << spot.on->objectName().toStdString();
        Release(spot.on, spot.at);
        EXPECT_EQ(tile->BevelOuter(), Bevel::Raised) << spot.on->objectName().toStdString();
        EXPECT_EQ(clicks.count(), ++expectedClicks) << spot.on->objectName().toStdString();
    }
}

TEST_F(DeviceTileMouseTest, ReleasingAwayFromTheTileIsNoClick)
{
    QSignalSpy clicks(column.get(), &DeviceTileColumn::DevicePanelClick);
    Press(tile, {140, 70});
    QTest::mouseMove(Handle(), At(box, {5, 400}));
    Release(box, {5, 400});
    EXPECT_EQ(tile->BevelOuter(), Bevel::Raised);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(DeviceTileMouseTest, RightPressSetsOnlyTheMenuIndexAndOpensTheMenu)
{
    QSignalSpy clicks(column.get(), &DeviceTileColumn::DevicePanelClick);
    Press(column->TileAt(0), {140, 70});
    Release(column->TileAt(0), {140, 70});
    ASSERT_EQ(state.ClickedIndex, 0);

    Press(tile, {140, 70}, Qt::RightButton);
    EXPECT_EQ(state.MenuIndex, 1);
    EXPECT_EQ(state.ClickedIndex, 0);
    EXPECT_EQ(tile->BevelOuter(), Bevel::Raised);
    EXPECT_TRUE(QTest::qWaitFor([&] { return column->DeviceMenu()->isVisible(); }, 1000));
    column->DeviceMenu()->hide();
    Release(tile, {140, 70}, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1);

    // On a value label too.
    column->DeviceMenu()->hide();
    Press(column->TileAt(2)->AddressLabel, {5, 5}, Qt::RightButton);
    EXPECT_EQ(state.MenuIndex, 2);
    EXPECT_EQ(state.ClickedIndex, 0);
    column->DeviceMenu()->hide();
    Release(column->TileAt(2)->AddressLabel, {5, 5}, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(DeviceTileMouseTest, TheMenuShowsRenameAndRemoveAndReportsItsItems)
{
    const QMenu* menu = column->DeviceMenu();
    QStringList shown;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible())
            shown << action->text();
    }
    EXPECT_EQ(shown, (QStringList{"Rename Device", "Remove Device"}));
    EXPECT_EQ(column->NewDeviceItem->text(), "New Device");
    EXPECT_EQ(column->MACItem->text(), "Modify MAC Address");
    EXPECT_EQ(column->BurningItem->text(), "More Info");
    for (TDevicePanel* each : column->Tiles())
        EXPECT_EQ(each->PopupMenu(), menu);

    QSignalSpy removes(column.get(), &DeviceTileColumn::RemoveDeviceItemClick);
    QSignalSpy renames(column.get(), &DeviceTileColumn::RenameItemClick);
    column->RemoveDeviceItem->trigger();
    column->RenameItem->trigger();
    EXPECT_EQ(removes.count(), 1);
    EXPECT_EQ(renames.count(), 1);
}

TEST_F(DeviceTileMouseTest, ADoubleClickIsOneClick)
{
    QSignalSpy clicks(column.get(), &DeviceTileColumn::DevicePanelClick);
    QTest::mouseDClick(Handle(), Qt::LeftButton, {}, At(tile, {140, 70}));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(tile->BevelOuter(), Bevel::Raised);
    EXPECT_EQ(state.ClickedIndex, 1);
}

}  // namespace
}  // namespace qireq::test
