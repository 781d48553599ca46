// Picking and dragging band markers on the plot with real mouse events, and
// the painted axis boxes around it.
#include "EditorFixture.h"

#include "controls/PaintBox.h"
#include "editor/PlotMapping.h"
#include "eq/EqEncoding.h"

#include <cmath>

namespace qireq::test {
namespace {

class PlotInteractionTest : public EditorTest {
protected:
    PlotGeometry Geometry() const { return interaction_->Geometry(); }

    // The control pixel of a point given in x-units and dB.
    QPoint PixelAt(double xUnits, double db) const
    {
        const PlotGeometry g = Geometry();
        const int x = g.PageLeft + static_cast<int>((xUnits - g.XMin) / (g.XMax - g.XMin) * g.PageWidth);
        const int y = g.PageTop + static_cast<int>(g.PageHeight - g.PageHeight * (db - g.YMin) / (g.YMax - g.YMin));
        return {x, y};
    }

    // Where band n's marker is drawn.
    QPoint MarkerPixel(int n) const
    {
        const TBlock block = plot_->Block(n - 1);
        return PixelAt(block.X, block.Y);
    }

    // The column whose x-units map to a frequency in [low, high).
    int ColumnForHz(double low, double high) const
    {
        for (int x = -200; x < 1000; ++x) {
            const double hz = FrequencyAtXUnits(XUnitsAt(Geometry(), x));
            if (hz >= low && hz < high)
                return x;
        }
        ADD_FAILURE() << "no column for " << low << ".." << high << " Hz";
        return 0;
    }

    void Press(QPoint at) { QTest::mousePress(plot_, Qt::LeftButton, {}, at); }
    void Move(QPoint at) { QTest::mouseMove(plot_, at); }
    void Release(QPoint at) { QTest::mouseRelease(plot_, Qt::LeftButton, {}, at); }
};

TEST_F(PlotInteractionTest, DraggingAMarkerMovesItsBandAndReleaseEndsTheDrag)
{
    const QPoint marker = MarkerPixel(3);  // 198.4 Hz, 0 dB
    Press(marker);
    EXPECT_EQ(interaction_->DragBand(), 2);

    const double targetX = MarkerXUnits(200);  // 2010 Hz
    Move(PixelAt(targetX + 0.5, 6.0));
    EXPECT_EQ(Band(3).FreqEdit->text(), FrequencyText(Model(3).BandFreq));
    EXPECT_NEAR(FrequencyOf(Model(3).BandFreq), 2010.0, 60.0);
    EXPECT_EQ(Band(3).TrackBar->Position(), -6);  // +6 dB, the slider follows
    EXPECT_EQ(Model(3).BandGain, 12);
    EXPECT_EQ(plot_->Block(2).Y, 6.0);

    Release(PixelAt(targetX, 6.0));
    EXPECT_EQ(interaction_->DragBand(), -1);
    const int step = Model(3).BandFreq;
    Move(PixelAt(targetX + 40, -6.0));
    EXPECT_EQ(Model(3).BandFreq, step);
}

TEST_F(PlotInteractionTest, PressAwayFromEveryMarkerStartsNoDrag)
{
    const TBlock block = plot_->Block(2);
    for (const QPoint& at : {PixelAt(block.X + 7, 0.0), PixelAt(block.X - 7, 0.0), PixelAt(block.X, 3.5),
                             PixelAt(block.X, -3.5)}) {
        Press(at);
        EXPECT_EQ(interaction_->DragBand(), -1);
        Move(at + QPoint(30, 20));
        Release(at + QPoint(30, 20));
    }
    EXPECT_EQ(Model(3).BandFreq, 100);
    EXPECT_EQ(Model(3).BandGain, 24);
}

TEST_F(PlotInteractionTest, OverlappingMarkersThePressTakesTheLowestBand)
{
    Model(4).BandFreq = 100;  // band 4 on top of band 3
    editor_->RefreshBand(4);
    const QPoint marker = MarkerPixel(3);
    Move(marker);
    EXPECT_EQ(plot_->cursor().shape(), Qt::CrossCursor);
    Press(marker);
    EXPECT_EQ(interaction_->DragBand(), 2);
    Release(marker);

    Move(PixelAt(plot_->Block(2).X + 30, 10.0));
    EXPECT_EQ(plot_->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PlotInteractionTest, LeftButtonPicksAnyMarkerEvenAHiddenOne)
{
    QTest::mousePress(plot_, Qt::RightButton, {}, MarkerPixel(2));
    EXPECT_EQ(interaction_->DragBand(), -1);
    QTest::mouseRelease(plot_, Qt::RightButton, {}, MarkerPixel(2));
    Click(Band(2).EQImage);  // switched off: the marker is hidden but kept
    ASSERT_TRUE(plot_->Block(1).Hidden);
    Press(MarkerPixel(2));
    EXPECT_EQ(interaction_->DragBand(), 1);
    Release(MarkerPixel(2));
}

TEST_F(PlotInteractionTest, FrequencyEndsOfADrag)
{
    Press(MarkerPixel(3));
    const int y = MarkerPixel(3).y();
    Move(QPoint(-150, y));  // far left, below 19 Hz: 19.7 Hz, which is the start of step 1
    EXPECT_EQ(Model(3).BandFreq, 1);
    EXPECT_EQ(Band(3).FreqEdit->text(), "20.1");

    Move(QPoint(ColumnForHz(19.05, 19.65), y));
    EXPECT_EQ(Model(3).BandFreq, 0);
    EXPECT_EQ(Band(3).FreqEdit->text(), "19.7");

    Move(QPoint(900, y));  // far right
    EXPECT_EQ(Model(3).BandFreq, 300);
    EXPECT_EQ(Band(3).FreqEdit->text(), "20160.0");
    Release(QPoint(900, y));
}

TEST_F(PlotInteractionTest, GainFollowsThePointerInWholeDbAndStopsAtTwelve)
{
    Press(MarkerPixel(2));
    const int x = MarkerPixel(2).x();
    Move(QPoint(x, -100));
    EXPECT_EQ(Band(2).TrackBar->Position(), -12);
    EXPECT_EQ(Model(2).BandGain, 0);
    Move(QPoint(x, 400));
    EXPECT_EQ(Band(2).TrackBar->Position(), 12);
    EXPECT_EQ(Model(2).BandGain, 48);

    // Down the page, the gain falls one whole dB at a time through every value.
    std::vector<int> seen;
    for (int y = 0; y < 201; ++y) {
        Move(QPoint(x, y));
        const int gain = -Band(2).TrackBar->Position();
        EXPECT_EQ(Model(2).BandGain % 2, 0);
        if (seen.empty() || seen.back() != gain)
            seen.push_back(gain);
    }
    ASSERT_EQ(seen.size(), 25u);
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], 12 - static_cast<int>(i));
    Release(QPoint(x, 0));
}

TEST_F(PlotInteractionTest, TrimShiftsThePointerGain)
{
    const double x = plot_->Block(4).X;
    const QPoint at = PixelAt(x, -3.0);
    Press(MarkerPixel(5));
    Move(at);
    const int atTrimZero = -Band(5).TrackBar->Position();
    Release(at);
    EXPECT_TRUE(atTrimZero == -3 || atTrimZero == -4);

    state_.Eq.Trim = -6;
    editor_->ShowTrim();
    Press(MarkerPixel(5));  // the marker now sits 6 dB lower
    EXPECT_EQ(interaction_->DragBand(), 4);
    Move(at);
    EXPECT_EQ(-Band(5).TrackBar->Position(), atTrimZero + 6);
    Release(at);
}

TEST_F(PlotInteractionTest, AHighShelfStaysAbove1000HzUntilThePointerComesBack)
{
    Model(5).BandType = kHighShelf;
    editor_->RefreshBand(5);  // 2010 Hz
    Press(MarkerPixel(5));
    const QPoint above = PixelAt(MarkerXUnits(220), 0.0);  // 3180 Hz
    Move(above);
    const QString shown = Band(5).FreqEdit->text();
    const int markerX = plot_->GetBlockPos(4).x();

    Move(PixelAt(MarkerXUnits(120), 3.0));  // 315 Hz, +3 dB
    EXPECT_EQ(Model(5).BandFreq, 170);
    EXPECT_EQ(Model(5).BandGain, 18);  // stored, not shown
    EXPECT_EQ(Band(5).FreqEdit->text(), shown);
    EXPECT_EQ(Band(5).TrackBar->Position(), 0);
    EXPECT_EQ(plot_->GetBlockPos(4).x(), markerX);

    Move(above);
    EXPECT_EQ(Band(5).FreqEdit->text(), shown);
    EXPECT_NE(Model(5).BandFreq, 170);
    Release(above);

    // A low shelf the other way round.
    Model(1).BandType = kLowShelf;
    editor_->RefreshBand(1);
    Press(MarkerPixel(1));
    Move(PixelAt(MarkerXUnits(250), 0.0));
    EXPECT_EQ(Model(1).BandFreq, 170);
    EXPECT_EQ(Band(1).FreqEdit->text(), "19.7");
    Release(PixelAt(MarkerXUnits(250), 0.0));
}

TEST_F(PlotInteractionTest, ConnectedEveryMoveSendsOneBandWrite)
{
    Connect();
    Press(MarkerPixel(2));
    Move(PixelAt(MarkerXUnits(60), 0.0));
    Move(PixelAt(MarkerXUnits(70), 3.0));
    Release(PixelAt(MarkerXUnits(70), 3.0));
    const std::vector<QByteArray> sent = link_->WithCommand(0x11);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(Byte(sent[1], 7), 2);
    EXPECT_EQ(Byte(sent[1], 11), 18);
    EXPECT_EQ(Band(2).FreqEdit->text(), "62.5");  // the echo moves it
    EXPECT_EQ(Band(2).TrackBar->Position(), 0);
    // Until the unit echoes the band, a redraw (here for a trim echo) keeps
    // its marker with the slider, at the gain the unit last confirmed.
    EchoTrim(QByteArray::fromHex("012003400B0E7948010560"));
    EXPECT_EQ(plot_->Block(1).Y, 0.0);
    EchoBand(sent[1]);
    EXPECT_EQ(Band(2).TrackBar->Position(), -3);
    EXPECT_EQ(plot_->Block(1).Y, 3.0);
}

TEST_F(PlotInteractionTest, AxisBoxesCoverThePlotEdgesAndCarryTheLabels)
{
    PaintBox* left = interaction_->LeftPaintBox();
    PaintBox* bottom = interaction_->BottomPaintBox();
    PaintBox* right = interaction_->RightPaintBox();
    // The dB box keeps its size and top; where it stands follows the page.
    EXPECT_EQ(left->size(), QSize(33, 217));
    EXPECT_EQ(left->y(), 8);
    EXPECT_EQ(bottom->geometry(), QRect(32, 216, 809, 17));
    EXPECT_EQ(right->geometry(), QRect(808, 8, 33, 225));
    EXPECT_EQ(plotPanel_->findChild<PaintBox*>("LeftPaintBox"), left);

    // The boxes lie above the plot yet leave its mouse alone.
    EXPECT_GT(plotPanel_->children().indexOf(right), plotPanel_->children().indexOf(plot_));
    EXPECT_TRUE(right->testAttribute(Qt::WA_TransparentForMouseEvents));

    const QImage rightImage = right->grab().toImage();
    EXPECT_EQ(rightImage.pixelColor(10, 100), right->palette().color(QPalette::Button));
    // "(Hz)" after the page's right end is written over the right box's fill.
    const QImage panel = plotPanel_->grab().toImage();
    const QRect unitArea(plot_->x() + plot_->PlotPageRect().right() + 2, 218, 30, 14);
    EXPECT_FALSE(InkIn(panel, unitArea, right->palette().color(QPalette::Button)).isEmpty());
}

// The axis labels against the plot's own drawing: the frequency labels
// centred under the grid lines the plot draws, the dB labels on their rows
// just left of the page, with the plot's label margin measured from the
// font at hand and from a much wider one.
TEST_F(PlotInteractionTest, AxisLabelsSitOnThePlotsGridWhateverTheLabelFont)
{
    PaintBox* left = interaction_->LeftPaintBox();
    PaintBox* bottom = interaction_->BottomPaintBox();
    const auto inBox = [this](const QWidget* box, QPoint plotPoint) { return box->mapFrom(plotPanel_, plot_->mapTo(plotPanel_, plotPoint)); };
    const double lg24000 = std::log10(24000.0);

    int firstPageLeft = -1;
    for (int labelPixels : {0, 22}) {
        SCOPED_TRACE(labelPixels);
        if (labelPixels > 0) {
            QFont wide = plot_->AxisLabelFont().Font;
            wide.setPixelSize(labelPixels);
            plot_->SetAxisLabelFont(TPlotFont{wide, Qt::black});
            QTest::qWait(50);  // the plot lays out anew, then the boxes follow
        }
        const QRect page = plot_->PlotPageRect();
        if (firstPageLeft < 0)
            firstPageLeft = page.left();
        else
            ASSERT_GT(page.left(), firstPageLeft + 20);  // the wide font moved the page

        const QImage grid = plot_->ShownPlotPage();
        const int quietRow = plot_->YMapping().Pixel(-19.5);  // between grid rows, below the curve
        const QImage bottomImage = bottom->grab().toImage();
        const QColor bottomPaper = bottomImage.pixelColor(0, 0);
        for (double hz : {20.0, 100.0, 1000.0, 10000.0, 20000.0}) {
            SCOPED_TRACE(hz);
            const int pageColumn = plot_->XMapping().Pixel(1024.0 * std::log10(hz) / lg24000);
            ASSERT_EQ(grid.pixelColor(pageColumn, quietRow), plot_->GridColor());
            const int column = inBox(bottom, QPoint(page.left() + pageColumn, 0)).x();
            const QRect ink = InkIn(bottomImage, QRect(column - 15, 0, 31, bottom->height()), bottomPaper);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_NEAR((ink.left() + ink.right()) / 2.0, column, 2.0);
        }

        const QImage leftImage = left->grab().toImage();
        const QColor leftPaper = leftImage.pixelColor(0, 0);
        const int pageLeft = inBox(left, page.topLeft()).x();
        for (int db : {15, 0, -12, -27}) {
            SCOPED_TRACE(db);
            const int row = inBox(left, QPoint(0, page.top() + plot_->YMapping().Pixel(db))).y();
            const QRect ink = InkIn(leftImage, QRect(0, row - 6, left->width(), 13), leftPaper);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_NEAR((ink.top() + ink.bottom()) / 2.0, row, 2.0);
            EXPECT_GT(ink.left(), 0);                     // whole, not cut by the box
            EXPECT_LT(ink.right(), pageLeft - 4);         // clear of the page's ticks
            EXPECT_GT(ink.right(), pageLeft - 16);        // yet beside the page
        }
    }
}

}  // namespace
}  // namespace qireq::test
