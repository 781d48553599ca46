// The response plot control as a real widget: page geometry, where curves,
// grid and blocks land in the off-screen page and on screen, the curve list,
// limits and autoscaling, redraw economy and the mouse signals.
#include "controls/Fftdraw.h"
#include "controls/VclColors.h"
#include "controls/PlotSetup.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace qireq {
namespace {

constexpr int kPoints = 1024;

// x-units of a frequency on the response plot's axis.
double XUnitsOf(double hz)
{
    return 1024.0 * std::log10(hz) / std::log10(24000.0);
}

class ResponsePlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::SetUpLikeResponsePlot(plot);
        // Make the plot page exactly 749 pixels wide whatever the label
        // margin measures with this platform's fonts.
        const int left = plot.PlotPageRect().left();
        plot.resize(779 + left, 201);
        plot.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
    }

    QColor PageAt(int x, int y) const { return QColor(plot.ShownPlotPage().pixel(x, y)); }
    int Column(double xUnits) const { return plot.XMapping().Pixel(xUnits); }
    int Row(double db) const { return plot.YMapping().Pixel(db); }

    void DrawFlatCurve(double db, const QColor& color = clBlack)
    {
        std::vector<double> curve(kPoints, db);
        plot.FFTDraw(curve.data(), kPoints, 0, color, TPlotStyle::Line);
    }

    TFFTDraw plot;
};

TEST_F(ResponsePlot, PageGeometryAndMapping)
{
    EXPECT_EQ(plot.GetPlotWidth(), 749);
    EXPECT_EQ(plot.GetPlotHeight(), 201);
    const QRect page = plot.PlotPageRect();
    EXPECT_EQ(page.top(), 0);
    EXPECT_EQ(page.right() + 1, plot.width() - 30);  // 30 pixels of right margin
    EXPECT_GE(page.left(), 0);                        // the y-label margin is inside the control
    EXPECT_EQ(plot.ShownPlotPage().size(), QSize(749, 201));

    EXPECT_EQ(Column(256), 0);
    EXPECT_EQ(Column(640), 374);
    EXPECT_EQ(Row(0), 75);

    // Relayout follows the size.
    plot.resize(plot.width() + 100, 301);
    EXPECT_EQ(plot.GetPlotWidth(), 849);
    EXPECT_EQ(plot.GetPlotHeight(), 301);
}

TEST_F(ResponsePlot, CurvePointsLandOnTruncatedPixels)
{
    // A vertical stroke at x-unit 640 lies in column 374, one at 256 in column 0.
    const std::array<double, 2> x640{640, 640};
    const std::array<double, 2> x256{256, 256};
    const std::array<double, 2> y{-29, 17};
    plot.FFTDraw(x640.data(), y.data(), 2, 1, clBlack, TPlotStyle::Line);
    plot.FFTDraw(x256.data(), y.data(), 2, 2, clBlack, TPlotStyle::Line);
    EXPECT_EQ(PageAt(374, 110), clBlack);
    EXPECT_NE(PageAt(373, 110), clBlack);
    EXPECT_NE(PageAt(375, 110), clBlack);
    EXPECT_EQ(PageAt(0, 110), clBlack);

    // A flat 0 dB response runs along row 75, over the zero line.
    plot.RemovePlot(1);
    plot.RemovePlot(2);
    DrawFlatCurve(0.0);
    for (int column : {0, 200, 374, 748}) {
        EXPECT_EQ(PageAt(column, 75), clBlack) << column;
        EXPECT_NE(PageAt(column == 0 ? 1 : column, 74), clBlack) << column;
    }
}

TEST_F(ResponsePlot, GridFrameAndZeroLine)
{
    const int between = Column(XUnitsOf(1400));  // no grid line at 1400 Hz
    const int quietRow = 5;                       // no grid line at +17 dB
    // Vertical lines at 20, 30 .. 100, 200 .. 1000, 2000 .. 20000 Hz.
    for (double decade : {10.0, 100.0, 1000.0, 10000.0}) {
        for (int m = 1; m <= 9; ++m) {
            const double hz = m * decade;
            if (hz < 20 || hz > 20000)
                continue;
            EXPECT_EQ(PageAt(Column(XUnitsOf(hz)), quietRow), clSkyBlue) << hz;
        }
    }
    EXPECT_EQ(PageAt(between, quietRow), clBtnHighlight);
    // Horizontal lines every 3 dB from -27 to +15, and the 0 dB line.
    for (int db = -27; db <= 15; db += 3)
        EXPECT_EQ(PageAt(between, Row(db)), clSkyBlue) << db;
    EXPECT_EQ(PageAt(between, Row(-1.5)), clBtnHighlight);
    EXPECT_EQ(Row(0), 75);
    EXPECT_EQ(PageAt(between, 75), clSkyBlue);
    // The frame.
    EXPECT_EQ(PageAt(0, 150), clSkyBlue);
    EXPECT_EQ(PageAt(748, 150), clSkyBlue);
    EXPECT_EQ(PageAt(between, 0), clSkyBlue);
    EXPECT_EQ(PageAt(between, 200), clSkyBlue);
}

TEST_F(ResponsePlot, GridFollowsEveryPropertyChange)
{
    DrawFlatCurve(10.0);
    const int column = Column(XUnitsOf(1000));
    const int between = Column(XUnitsOf(1400));
    plot.SetGridColor(Qt::red);
    EXPECT_EQ(PageAt(column, 5), QColor(Qt::red));
    plot.SetShowVertGrid(false);
    EXPECT_EQ(PageAt(column, 5), clBtnHighlight);
    plot.SetNumHorzGrid(1);  // one line half way: -6 dB
    EXPECT_EQ(PageAt(between, Row(-6)), QColor(Qt::red));
    EXPECT_EQ(PageAt(between, Row(-3)), clBtnHighlight);
    plot.SetYMin(-6);  // the line moves with the limits: half way is now +6 dB
    EXPECT_EQ(PageAt(between, Row(6)), QColor(Qt::red));
    plot.SetAxisStyle(TAxisStyle::None);
    EXPECT_EQ(PageAt(between, Row(0)), clBtnHighlight);
    EXPECT_EQ(PageAt(0, 150), clBtnHighlight);
    plot.SetColor(Qt::yellow);
    EXPECT_EQ(PageAt(between, Row(3)), QColor(Qt::yellow));
    // The curve is drawn over whatever lies beneath.
    EXPECT_EQ(PageAt(between, Row(10)), clBlack);
}

TEST_F(ResponsePlot, BlocksArePaintedNumberedAndHidden)
{
    DrawFlatCurve(-20.0);
    plot.DrawBlock(0.0, 640.0, clBlack, 2, false);
    const int sx = 374;
    const int sy = 75;
    // A black disc 16 pixels across around the point, its number written in
    // white inside it.
    const auto dark = [this](int x, int y) { return PageAt(x, y).lightness() < 40; };
    EXPECT_EQ(PageAt(sx - 6, sy + 1), clBlack);
    EXPECT_TRUE(dark(sx + 6, sy + 2));
    EXPECT_TRUE(dark(sx, sy - 7));
    EXPECT_TRUE(dark(sx - 1, sy + 6));
    EXPECT_FALSE(dark(sx - 9, sy + 1));
    EXPECT_FALSE(dark(sx + 9, sy + 1));
    EXPECT_FALSE(dark(sx + 1, sy - 10));
    int white = 0;
    for (int x = sx - 4; x <= sx + 4; ++x)
        for (int y = sy - 6; y <= sy + 6; ++y)
            white += QColor(PageAt(x, y)).lightness() > 200 ? 1 : 0;
    EXPECT_GT(white, 3);

    // What is on screen is the shown page.
    const QImage screen = plot.grab().toImage();
    const QPoint at = plot.PlotPageRect().topLeft() + QPoint(sx - 6, sy + 1);
    EXPECT_EQ(QColor(screen.pixel(at)), clBlack);

    // Hidden: gone at the next redraw, position kept.
    plot.DrawBlock(0.0, 640.0, clBlack, 2, true);
    DrawFlatCurve(-20.0);
    EXPECT_EQ(PageAt(sx - 6, sy + 1), clBtnHighlight);
    EXPECT_EQ(PageAt(sx - 6, sy), clSkyBlue);  // the zero line shows again
    EXPECT_EQ(plot.GetBlockPos(2), QPoint(640, 0));
    QTest::qWait(20);
    EXPECT_EQ(QColor(plot.grab().toImage().pixel(at)), clBtnHighlight);
}

TEST_F(ResponsePlot, OnlyTheFirstFiveSlotsArePainted)
{
    DrawFlatCurve(-20.0);
    const QImage before = plot.ShownPlotPage();
    plot.DrawBlock(0.0, 640.0, clBlack, 7, false);
    plot.DrawBlock(0.0, 640.0, clBlack, 14, false);
    plot.DrawBlock(0.0, 640.0, clBlack, 15, false);  // no such slot
    plot.DrawBlock(0.0, 640.0, clBlack, -1, false);
    EXPECT_EQ(plot.ShownPlotPage(), before);
    EXPECT_EQ(plot.GetBlockPos(7), QPoint(640, 0));
    EXPECT_EQ(plot.GetBlockPos(15), QPoint(0, 0));
    EXPECT_EQ(plot.GetBlockPos(-1), QPoint(0, 0));

    // Fresh slots sit at (0, 0) and are shown: slot 0 at x-unit 0 lies left
    // of the page, so nothing of it is visible either.
    EXPECT_FALSE(plot.Block(0).Hidden);
    EXPECT_EQ(plot.GetBlockPos(0), QPoint(0, 0));
}

TEST_F(ResponsePlot, BlockPositionsTruncateTowardZero)
{
    plot.DrawBlock(-3.7, 700.9, clBlack, 4, false);
    EXPECT_EQ(plot.GetBlockPos(4), QPoint(700, -3));
    plot.DrawBlock(11.99, 255.5, clBlack, 0, true);
    EXPECT_EQ(plot.GetBlockPos(0), QPoint(255, 11));
    plot.DrawBlock(-0.5, -0.5, clBlack, 1, false);
    EXPECT_EQ(plot.GetBlockPos(1), QPoint(0, 0));
    plot.DrawBlock(std::numeric_limits<double>::quiet_NaN(), 1e300, clBlack, 3, false);
    EXPECT_EQ(plot.GetBlockPos(3), QPoint(1 << 30, 0));
    // Round trip of a marker placed the way the editor places them.
    for (int step : {0, 150, 300}) {
        const double x = XUnitsOf(20.0 * std::pow(1000.0, step / 300.0));
        plot.DrawBlock(-3.0, x, clBlack, 2, false);
        EXPECT_EQ(plot.GetBlockPos(2), QPoint(static_cast<int>(x), -3)) << step;
    }
}

TEST_F(ResponsePlot, SamePlotNumberReplacesTheCurve)
{
    std::vector<double> low(kPoints, -20.0);
    std::vector<double> high(kPoints, 10.0);
    EXPECT_FALSE(plot.FFTDraw(low.data(), kPoints, 0, Qt::red, TPlotStyle::Line));
    EXPECT_TRUE(plot.FFTDraw(high.data(), kPoints, 0, Qt::blue, TPlotStyle::FilledSquares));
    ASSERT_EQ(plot.PlotCount(), 1);
    EXPECT_EQ(plot.GetPlotColor(0), QColor(Qt::red));   // the first call's colour and style stay
    EXPECT_EQ(plot.GetPlotStyle(0), TPlotStyle::Line);
    EXPECT_EQ(plot.GetPlotY(0), high);                  // the data are new
    EXPECT_EQ(plot.GetPlotX(0)[1023], 1023.0);
    EXPECT_EQ(PageAt(400, Row(10)), QColor(Qt::red));
    EXPECT_NE(PageAt(400, Row(-20)), QColor(Qt::red));

    // The control keeps its own copy.
    high.assign(kPoints, -5.0);
    EXPECT_EQ(plot.GetPlotY(0)[0], 10.0);

    // Another number goes first in the list; removing it leaves the first.
    EXPECT_FALSE(plot.FFTDraw(0.0, 1.0, low.data(), 1, 7, Qt::green, TPlotStyle::Line));
    EXPECT_EQ(plot.Plots().front().PlotNumber, 7);
    EXPECT_EQ(plot.GetPlotX(7), std::vector<double>{0.0});  // one point sits at the start
    EXPECT_TRUE(plot.RemovePlot(7));
    EXPECT_FALSE(plot.RemovePlot(7));
    EXPECT_EQ(plot.PlotCount(), 1);
    EXPECT_FALSE(plot.FFTDraw(low.data(), -5, 9, Qt::green, TPlotStyle::Line));
    EXPECT_EQ(plot.GetPlotNumPoints(9), 0);
}

TEST_F(ResponsePlot, StrayCurveValuesBreakTheLineWithoutHarm)
{
    std::vector<double> curve(kPoints, 0.0);
    curve[640] = std::numeric_limits<double>::quiet_NaN();
    curve[700] = std::numeric_limits<double>::infinity();
    curve[800] = 1e308;
    curve[900] = -1e308;
    plot.FFTDraw(curve.data(), kPoints, 0, clBlack, TPlotStyle::Line);
    // Around the missing point the zero line shows; elsewhere the curve.
    EXPECT_EQ(PageAt(374, 75), clSkyBlue);
    EXPECT_EQ(PageAt(300, 75), clBlack);
    EXPECT_EQ(PageAt(600, 75), clBlack);
    for (auto style : {TPlotStyle::FilledSquares, TPlotStyle::LineHollowSquares}) {
        plot.RemovePlot(0);
        plot.FFTDraw(curve.data(), kPoints, 0, clBlack, style);
        EXPECT_EQ(PageAt(300, 75), clBlack);
    }
}

TEST_F(ResponsePlot, EqualLimitsAreWidened)
{
    plot.SetYMax(-30);
    EXPECT_EQ(plot.YMax(), -29);
    plot.SetYMax(18);
    plot.SetXMin(1024);
    EXPECT_EQ(plot.XMax(), 1025);
    plot.SetXYMinMax(3, 3, 2, 2);
    EXPECT_EQ(plot.XMax(), 4);
    EXPECT_EQ(plot.YMax(), 3);
    plot.SetXAxisFormat(TAxisFormat::Log);
    plot.SetXYMinMax(5, 5, 2, 3);
    EXPECT_EQ(plot.XMax(), 50);
    plot.SetNumHorzGrid(-3);
    EXPECT_EQ(plot.NumHorzGrid(), 0);
    plot.SetPointSize(40);
    EXPECT_EQ(plot.PointSize(), 10);
    plot.SetPointSize(0);
    EXPECT_EQ(plot.PointSize(), 1);
    plot.SetVertTickLength(5000);
    EXPECT_EQ(plot.VertTickLength(), plot.height());
}

TEST(FFTDrawScale, AutoscaleFindsTheDataRange)
{
    TFFTDraw plot;
    EXPECT_TRUE(plot.XAutoScale());
    EXPECT_TRUE(plot.YAutoScale());
    const std::array<double, 4> y{-5, 7, 2, std::numeric_limits<double>::quiet_NaN()};
    plot.FFTDraw(10.0, 40.0, y.data(), 4, 0, clLime, TPlotStyle::Line);
    EXPECT_EQ(plot.XMin(), 10);
    EXPECT_EQ(plot.XMax(), 40);
    EXPECT_EQ(plot.YMin(), -5);
    EXPECT_EQ(plot.YMax(), 7);

    const std::array<double, 3> flat{3, 3, 3};
    plot.FFTDraw(flat.data(), 3, 0, clLime, TPlotStyle::Line);
    EXPECT_EQ(plot.YMin(), 3);
    EXPECT_EQ(plot.YMax(), 4);
    EXPECT_EQ(plot.XMin(), 0);
    EXPECT_EQ(plot.XMax(), 2);

    plot.SetYAxisFormat(TAxisFormat::Log);
    const std::array<double, 3> mixed{-1, 0, 50};
    plot.FFTDraw(mixed.data(), 3, 0, clLime, TPlotStyle::Line);
    EXPECT_EQ(plot.YMax(), 50);
    EXPECT_EQ(plot.YMin(), 0.5);  // a hundredth of the maximum

    plot.RemovePlot(0);
    plot.SetYAxisFormat(TAxisFormat::Linear);
    EXPECT_EQ(plot.YMin(), -1);  // no curve at all
    EXPECT_EQ(plot.YMax(), 1);

    plot.SetYAutoScale(false);
    plot.SetYMax(100);
    plot.FFTDraw(flat.data(), 3, 0, clLime, TPlotStyle::Line);
    EXPECT_EQ(plot.YMax(), 100);
}

TEST_F(ResponsePlot, ACurveChangeDrawsThePageOnceAndPaintsCopy)
{
    QTest::qWait(20);
    const int before = plot.PlotPageDrawCount();
    DrawFlatCurve(1.0);
    EXPECT_EQ(plot.PlotPageDrawCount(), before + 1);
    for (int i = 0; i < 5; ++i)
        plot.DrawBlock(0, 400 + 100 * i, clBlack, i, false);
    plot.repaint();
    (void)plot.grab();
    QTest::qWait(20);
    EXPECT_EQ(plot.PlotPageDrawCount(), before + 1);

    // With AutoRedraw off a change waits for the next paint.
    plot.SetAutoRedraw(false);
    DrawFlatCurve(2.0);
    EXPECT_EQ(plot.PlotPageDrawCount(), before + 1);
    (void)plot.grab();
    EXPECT_EQ(plot.PlotPageDrawCount(), before + 2);
    EXPECT_EQ(PageAt(400, Row(2.0)), clBlack);
}

TEST(FFTDrawPages, HiddenControlDrawsWhenAskedAndTitlesShow)
{
    TFFTDraw plot;  // never shown; the control's own defaults
    const std::array<double, 2> values{-15, 15};
    plot.FFTDraw(values.data(), 2, 0, clLime, TPlotStyle::Line);
    EXPECT_EQ(plot.PlotPageDrawCount(), 0);
    EXPECT_FALSE(plot.ShownPlotPage().isNull());
    EXPECT_EQ(plot.PlotPageDrawCount(), 1);

    // Default set-up: titles and labels take room around the plot page.
    const QRect page = plot.PlotPageRect();
    EXPECT_GT(page.top(), 0);
    EXPECT_LT(page.bottom(), 249);
    EXPECT_GT(page.left(), 0);
    const QImage screen = plot.grab().toImage();
    int lime = 0;
    for (int px = 0; px < screen.width(); ++px)
        for (int py = 0; py < page.top(); ++py)
            lime += QColor(screen.pixel(px, py)).green() > 128 ? 1 : 0;
    EXPECT_GT(lime, 10);  // "Frequency Response" above the page
    EXPECT_EQ(QColor(screen.pixel(screen.width() - 5, 100)), clBlack);  // right margin in Color
}

TEST_F(ResponsePlot, MouseGoesToTheOwnerUnchanged)
{
    QSignalSpy downs(&plot, &TFFTDraw::OnMouseDown);
    QSignalSpy moves(&plot, &TFFTDraw::OnMouseMove);
    QSignalSpy ups(&plot, &TFFTDraw::OnMouseUp);

    QTest::mouseMove(&plot, QPoint(200, 60));
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last().at(2).toPoint(), QPoint(200, 60));
    EXPECT_EQ(moves.last().at(0).value<Qt::MouseButtons>(), Qt::NoButton);

    QTest::mousePress(&plot, Qt::LeftButton, Qt::ShiftModifier, QPoint(210, 70));
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(downs.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(downs.at(0).at(2).toPoint(), QPoint(210, 70));
    QTest::mouseMove(&plot, QPoint(260, 90));
    EXPECT_EQ(moves.last().at(0).value<Qt::MouseButtons>(), Qt::LeftButton);
    EXPECT_EQ(moves.last().at(2).toPoint(), QPoint(260, 90));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(260, 90));
    ASSERT_EQ(ups.count(), 1);
    EXPECT_EQ(ups.at(0).at(2).toPoint(), QPoint(260, 90));

    // The second press of a double click is a press too.
    QTest::mouseClick(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseDClick(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseRelease(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(downs.count(), 3);
    EXPECT_EQ(ups.count(), 3);

    // Disabled (bypass): draws as before, reports nothing.
    DrawFlatCurve(0.0);
    const QImage enabledLook = plot.grab().toImage();
    plot.setEnabled(false);
    const qsizetype seen = downs.count() + moves.count() + ups.count();
    QTest::mouseMove(&plot, QPoint(300, 100));
    QTest::mouseClick(&plot, Qt::LeftButton, Qt::NoModifier, QPoint(300, 100));
    EXPECT_EQ(downs.count() + moves.count() + ups.count(), seen);
    EXPECT_EQ(plot.grab().toImage(), enabledLook);
}

}  // namespace
}  // namespace qireq
