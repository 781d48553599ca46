// What the tile, its missing mark and the selection frame put on screen,
// read back pixel by pixel.
#include "DeviceColumnFixture.h"

#include <QImage>

namespace qireq::test {
namespace {

const QColor kRed{255, 0, 0};
const QColor kGreen{0, 255, 0};

QImage Picture(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(DevicePanel, ChildrenInOrderAtTheirPlaces)
{
    TDevicePanel tile;
    EXPECT_EQ(tile.size(), QSize(150, 81));
    QStringList names;
    for (QObject* child : tile.children())
        names << child->objectName();
    EXPECT_EQ(names, (QStringList{"NameCaption", "AddressCaption", "MacCaption", "NameLabel",
                                  "AddressLabel", "MacLabel", "RedCross"}));
    // Laid out places; a label is widened where its caption needs it.
    const std::pair<QLabel*, QRect> places[] = {
        {tile.NameCaption, {8, 8, 31, 13}},    {tile.AddressCaption, {8, 32, 50, 13}},
        {tile.MacCaption, {8, 56, 28, 13}},    {tile.NameLabel, {53, 8, 40, 13}},
        {tile.AddressLabel, {53, 32, 75, 13}}, {tile.MacLabel, {43, 56, 90, 13}},
    };
    for (const auto& [label, place] : places) {
        const std::string name = label->objectName().toStdString();
        EXPECT_EQ(label->geometry().topLeft(), place.topLeft()) << name;
        EXPECT_EQ(label->height(), 13) << name;
        EXPECT_GE(label->width(), place.width()) << name;
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << name;
    }
    EXPECT_EQ(tile.RedCross->geometry(), QRect(20, 4, 25, 25));
    EXPECT_EQ(tile.NameLabel->text(), "Device");
    EXPECT_EQ(tile.AddressLabel->text(), "192.168.1.1");
    EXPECT_EQ(tile.MacLabel->text(), "FF:FF:FF:FF:FF:FF");
    EXPECT_TRUE(tile.RedCross->isHidden());
}

TEST(DevicePanel, RedCrossIsARedCircleWithACross)
{
    TDevicePanel tile;
    tile.RedCross->show();
    const QImage cross = Picture(tile.RedCross);
    ASSERT_EQ(cross.size(), QSize(25, 25));
    const QColor inside = tile.palette().color(QPalette::Button);
    // The two lines (8, 8)-(16, 16) and (8, 16)-(16, 8).
    for (const QPoint p : {QPoint(8, 8), QPoint(12, 12), QPoint(16, 16), QPoint(8, 16), QPoint(16, 8),
                           QPoint(10, 14)})
        EXPECT_EQ(cross.pixelColor(p), kRed) << p.x() << "," << p.y();
    // The circle in (4, 4, 21, 21).
    for (const QPoint p : {QPoint(12, 4), QPoint(4, 12), QPoint(20, 12), QPoint(12, 20)})
        EXPECT_EQ(cross.pixelColor(p), kRed) << p.x() << "," << p.y();
    // Inside the circle between the lines: the tile's own colour.
    for (const QPoint p : {QPoint(12, 7), QPoint(7, 12), QPoint(17, 12), QPoint(12, 17)})
        EXPECT_EQ(cross.pixelColor(p), inside) << p.x() << "," << p.y();
    // Outside the circle nothing red.
    for (const QPoint p : {QPoint(0, 0), QPoint(24, 24), QPoint(1, 12), QPoint(12, 23)})
        EXPECT_NE(cross.pixelColor(p), kRed) << p.x() << "," << p.y();
}

TEST(DevicePanel, BevelLightAboveWhenRaisedDarkWhenLowered)
{
    TDevicePanel tile;
    const QRgb light = tile.palette().color(QPalette::Light).rgb();
    const QRgb dark = tile.palette().color(QPalette::Dark).rgb();
    ASSERT_NE(light, dark);
    const QImage raised = Picture(&tile);
    EXPECT_EQ(raised.pixel(75, 1), light);
    EXPECT_EQ(raised.pixel(1, 40), light);
    EXPECT_EQ(raised.pixel(75, 79), dark);
    EXPECT_EQ(raised.pixel(148, 40), dark);
    tile.SetBevelOuter(TDevicePanel::Bevel::Lowered);
    const QImage lowered = Picture(&tile);
    EXPECT_EQ(lowered.pixel(75, 1), dark);
    EXPECT_EQ(lowered.pixel(1, 40), dark);
    EXPECT_EQ(lowered.pixel(75, 79), light);
    EXPECT_EQ(lowered.pixel(148, 40), light);
}

TEST_F(DeviceColumnTest, SelectionFrameIsAThreePixelGreenBorder)
{
    FindThree();
    state.ConnectedIndex = 0;
    column->ShowConnectedName("Hall");
    const QImage frameImage = Picture(frame);
    ASSERT_EQ(frameImage.size(), QSize(160, 89));
    for (int d = 0; d < 3; ++d) {
        EXPECT_EQ(frameImage.pixelColor(d, 44), kGreen) << d;
        EXPECT_EQ(frameImage.pixelColor(159 - d, 44), kGreen) << d;
        EXPECT_EQ(frameImage.pixelColor(80, d), kGreen) << d;
        EXPECT_EQ(frameImage.pixelColor(80, 88 - d), kGreen) << d;
    }
    EXPECT_NE(frameImage.pixelColor(3, 44), kGreen);
    EXPECT_NE(frameImage.pixelColor(156, 44), kGreen);

    // On screen the tile covers the frame's middle: the column shows the
    // green border round the tile and the tile inside.
    const QImage columnImage = Picture(box->Contents());
    TDevicePanel* tile = column->TileAt(0);
    EXPECT_EQ(columnImage.pixelColor(tile->x() - 4, tile->y() + 40), kGreen);
    EXPECT_EQ(columnImage.pixelColor(tile->x() + 75, tile->y() - 3), kGreen);
    EXPECT_NE(columnImage.pixelColor(tile->x() + 75, tile->y() + 1), kGreen);
    EXPECT_NE(columnImage.pixelColor(tile->x() + 140, tile->y() + 70), kGreen);
}

}  // namespace
}  // namespace qireq::test
