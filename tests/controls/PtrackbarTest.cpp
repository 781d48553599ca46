// The gain slider as a real widget: start position, the OnChange rule for
// program and user moves, real drags, channel clicks with their repeat,
// keys and wheel, and its two pictures at 100 % and 200 %.
#include "controls/Ptrackbar.h"

#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <climits>

namespace qireq {
namespace {

// A band's slider as the editor creates it.
class GainSlider : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar.resize(25, 177);
        bar.SetPosition(0);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    }

    QPoint ThumbCentre() const { return bar.ThumbRect().center(); }

    // Press on the thumb, move in steps to row y, release there.
    void DragThumbTo(int y)
    {
        const QPoint from = ThumbCentre();
        QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, from);
        const int steps = 8;
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(&bar, QPoint(from.x(), from.y() + (y - from.y()) * i / steps));
        QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(from.x(), y));
    }

    TPTrackBar bar{nullptr, -12, 12};
};

TEST(TrackBarCreation, StartsInTheMiddleOfItsRange)
{
    EXPECT_EQ(TPTrackBar(nullptr, 0, 10).Position(), 5);
    EXPECT_EQ(TPTrackBar(nullptr, -12, 12).Position(), 0);
    EXPECT_EQ(TPTrackBar(nullptr, -5, 0).Position(), -2);  // -2.5 truncated toward zero
    EXPECT_EQ(TPTrackBar(nullptr, 0, 1).Position(), 0);
    TPTrackBar plain;
    EXPECT_EQ(plain.Min(), 0);
    EXPECT_EQ(plain.Max(), 10);
    EXPECT_EQ(plain.Position(), 5);
    EXPECT_EQ(plain.orientation(), Qt::Vertical);
    EXPECT_EQ(plain.PageSize(), 2);
    EXPECT_EQ(TPTrackBar(nullptr, INT_MIN, INT_MAX).Position(), 0);
}

TEST_F(GainSlider, ProgramMovesFireOnChangeOnlyForNewValues)
{
    QSignalSpy changes(&bar, &TPTrackBar::OnChange);
    bar.SetPosition(3);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(bar.Position(), 3);
    bar.SetPosition(3);
    EXPECT_EQ(changes.count(), 1);
    bar.SetPosition(20);  // held to the range
    EXPECT_EQ(bar.Position(), 12);
    EXPECT_EQ(changes.count(), 2);
    bar.SetPosition(99);  // held to 12 again: no change
    EXPECT_EQ(changes.count(), 2);
    bar.SetPosition(-40);
    EXPECT_EQ(bar.Position(), -12);
    EXPECT_EQ(changes.count(), 3);

    // The change fires inside SetPosition, with the new position in place.
    int seen = 99;
    QObject::connect(&bar, &TPTrackBar::OnChange, [&] { seen = bar.Position(); });
    bar.SetPosition(-4);
    EXPECT_EQ(seen, -4);

    // A narrower range that pushes the position fires too.
    bar.SetMin(-2);
    EXPECT_EQ(bar.Position(), -2);
    EXPECT_EQ(changes.count(), 5);
    bar.SetMax(1);
    EXPECT_EQ(changes.count(), 5);
}

TEST_F(GainSlider, DraggingTheThumb)
{
    QSignalSpy changes(&bar, &TPTrackBar::OnChange);
    DragThumbTo(0);
    EXPECT_EQ(bar.Position(), -12);  // top: Min
    EXPECT_GE(changes.count(), 2);   // every position on the way
    EXPECT_LE(changes.count(), 12);

    DragThumbTo(176);
    EXPECT_EQ(bar.Position(), 12);   // bottom: Max

    // The thumb follows to the nearest position; a thumb on its own row stays.
    DragThumbTo(bar.ThumbTopFor(3) + bar.ThumbSize().height() / 2);
    EXPECT_EQ(bar.Position(), 3);
    for (int p = -12; p <= 12; ++p)
        EXPECT_EQ(bar.PositionAt(bar.ThumbTopFor(p)), p);

    // Pointing far outside the control keeps to the range.
    DragThumbTo(-300);
    EXPECT_EQ(bar.Position(), -12);
}

TEST_F(GainSlider, ChannelPressPagesTowardThePointerWhileHeld)
{
    bar.SetPageSize(1);
    QSignalSpy changes(&bar, &TPTrackBar::OnChange);
    const QPoint target(12, bar.ThumbTopFor(8) + 2);
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, target);
    EXPECT_EQ(bar.Position(), 1);  // one page at once
    // Repeats after 500 ms, then every 100 ms, and stops under the pointer.
    QTRY_COMPARE_WITH_TIMEOUT(bar.Position(), 8, 3000);
    QTest::qWait(300);
    EXPECT_EQ(bar.Position(), 8);
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, target);
    EXPECT_EQ(changes.count(), 8);

    // Released early: no more pages.
    bar.SetPageSize(2);
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(12, 2));
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(12, 2));
    EXPECT_EQ(bar.Position(), 6);
    QTest::qWait(700);
    EXPECT_EQ(bar.Position(), 6);

    // Other buttons do nothing.
    QTest::mouseClick(&bar, Qt::RightButton, Qt::NoModifier, QPoint(12, 2));
    EXPECT_EQ(bar.Position(), 6);
}

TEST_F(GainSlider, KeysAndWheel)
{
    bar.setFocus();
    QTest::keyClick(&bar, Qt::Key_Up);
    EXPECT_EQ(bar.Position(), -1);  // up: toward the top, Min
    QTest::keyClick(&bar, Qt::Key_Right);
    QTest::keyClick(&bar, Qt::Key_Down);
    EXPECT_EQ(bar.Position(), 1);
    QTest::keyClick(&bar, Qt::Key_PageUp);
    EXPECT_EQ(bar.Position(), -1);
    QTest::keyClick(&bar, Qt::Key_End);
    EXPECT_EQ(bar.Position(), 12);
    QTest::keyClick(&bar, Qt::Key_Home);
    EXPECT_EQ(bar.Position(), -12);

    bar.SetPosition(0);
    const QPointF at = bar.ThumbRect().center();
    const auto wheel = [&](int delta) {
        QWheelEvent event(at, bar.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&bar, &event);
    };
    wheel(120);
    EXPECT_EQ(bar.Position(), -1);  // forward: thumb up
    wheel(-240);
    EXPECT_EQ(bar.Position(), 1);
    wheel(60);  // half a notch does nothing yet
    EXPECT_EQ(bar.Position(), 1);
    wheel(60);
    EXPECT_EQ(bar.Position(), 0);
}

TEST_F(GainSlider, MovesAreReportedAndDisabledIgnoresTheUser)
{
    QSignalSpy moves(&bar, &TPTrackBar::OnMouseMove);
    QTest::mouseMove(&bar, QPoint(10, 40));
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last().at(2).toPoint(), QPoint(10, 40));

    bar.setEnabled(false);
    QSignalSpy changes(&bar, &TPTrackBar::OnChange);
    DragThumbTo(0);
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(12, 170));
    EXPECT_EQ(bar.Position(), 0);
    bar.SetPosition(5);  // the program still moves it
    EXPECT_EQ(changes.count(), 1);
}

QPixmap Checkerboard(QSize logical, qreal dpr, QColor a, QColor b)
{
    QImage image(logical * dpr, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, ((x + y) % 2) ? a : b);
    QPixmap picture = QPixmap::fromImage(image);
    picture.setDevicePixelRatio(dpr);
    return picture;
}

// Renders the slider into an image of the given pixel ratio.
QImage RenderAt(QWidget& widget, qreal dpr)
{
    QImage image(widget.size() * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}

TEST_F(GainSlider, PicturesGoInPlaceOfThumbAndChannel)
{
    bar.SetChannelBitmap(Checkerboard(QSize(15, 167), 1.0, Qt::blue, Qt::blue));
    bar.SetThumbBitmap(Checkerboard(QSize(15, 9), 1.0, Qt::red, Qt::red));
    EXPECT_EQ(bar.ThumbSize(), QSize(15, 9));

    const QImage image = RenderAt(bar, 1.0);
    const QRect thumb = bar.ThumbRect();
    const QRect channel = bar.ChannelRect();
    EXPECT_EQ(QColor(image.pixel(thumb.topLeft())), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(thumb.bottomRight())), QColor(Qt::red));
    // The channel picture starts at the channel's left, 2 pixels above its top.
    EXPECT_EQ(QColor(image.pixel(channel.left(), channel.top() - 2)), QColor(Qt::blue));
    EXPECT_NE(QColor(image.pixel(channel.left(), channel.top() - 3)), QColor(Qt::blue));
    EXPECT_NE(QColor(image.pixel(channel.left() - 1, channel.top() + 20)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(channel.left() + 14, channel.top() + 164)), QColor(Qt::blue));

    // The thumb moves with the position, over the channel.
    bar.SetPosition(-12);
    const QImage top = RenderAt(bar, 1.0);
    EXPECT_EQ(QColor(top.pixel(bar.ThumbRect().center())), QColor(Qt::red));
    EXPECT_EQ(QColor(top.pixel(thumb.center())), QColor(Qt::blue));

    // A held copy: changing the caller's picture changes nothing.
    QPixmap mine = Checkerboard(QSize(15, 9), 1.0, Qt::green, Qt::green);
    bar.SetThumbBitmap(mine);
    mine.fill(Qt::black);
    EXPECT_EQ(QColor(RenderAt(bar, 1.0).pixel(bar.ThumbRect().center())), QColor(Qt::green));
}

TEST_F(GainSlider, PicturesStaySharpAtDoubleScale)
{
    // A picture made for 200 % keeps its logical size and every one of its
    // pixels: a one-pixel checkerboard survives unblurred.
    bar.SetThumbBitmap(Checkerboard(QSize(15, 9), 2.0, Qt::red, Qt::yellow));
    EXPECT_EQ(bar.ThumbSize(), QSize(15, 9));
    const QImage image = RenderAt(bar, 2.0);
    const QRect thumb = bar.ThumbRect();
    for (int dy = 0; dy < 18; ++dy) {
        for (int dx = 0; dx < 30; ++dx) {
            const QColor expected = ((dx + dy) % 2) ? QColor(Qt::red) : QColor(Qt::yellow);
            ASSERT_EQ(QColor(image.pixel(thumb.left() * 2 + dx, thumb.top() * 2 + dy)), expected)
                << dx << "," << dy;
        }
    }
    // The built-in pictures are drawn for the scale: every pixel at 100 %
    // becomes exactly two by two pixels at 200 %, nothing blurred or shifted.
    bar.SetThumbBitmap(QPixmap());
    const QImage single = RenderAt(bar, 1.0);
    const QImage twice = RenderAt(bar, 2.0);
    for (int y = 0; y < bar.height(); ++y)
        for (int x = 0; x < bar.width(); ++x)
            for (int d = 0; d < 4; ++d)
                ASSERT_EQ(twice.pixel(2 * x + d % 2, 2 * y + d / 2), single.pixel(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace qireq
