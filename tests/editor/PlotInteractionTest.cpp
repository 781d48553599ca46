// Picking and dragging band markers on the plot with real mouse events, and
// the painted axis boxes around it.
#include "EditorFixture.h"

#include "editor/PaintBox.h"
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
    editor_->ApplyBandEcho(sent[1]);
    EXPECT_EQ(Band(2).TrackBar->Position(), -3);
}

TEST_F(PlotInteractionTest, AxisBoxesCoverThePlotEdgesAndCarryTheLabels)
{
    PaintBox* left = interaction_->LeftPaintBox();
    PaintBox* bottom = interaction_->BottomPaintBox();
    PaintBox* right = interaction_->RightPaintBox();
    EXPECT_EQ(left->geometry(), QRect(32, 8, 33, 217));
    EXPECT_EQ(bottom->geometry(), QRect(32, 216, 809, 17));
    EXPECT_EQ(right->geometry(), QRect(808, 8, 33, 225));
    EXPECT_EQ(plotPanel_->findChild<PaintBox*>("LeftPaintBox"), left);

    // The boxes lie above the plot yet leave its mouse alone.
    EXPECT_GT(plotPanel_->children().indexOf(right), plotPanel_->children().indexOf(plot_));
    EXPECT_TRUE(right->testAttribute(Qt::WA_TransparentForMouseEvents));

    auto hasInk = [](const QImage& image, QRect area) {
        const QColor background = image.pixelColor(area.topLeft());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixelColor(x, y) != background)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasInk(left->grab().toImage(), QRect(4, 76, 20, 12)));        // "0"
    EXPECT_TRUE(hasInk(bottom->grab().toImage(), QRect(456, 2, 14, 13)));     // "1k"
    const QImage rightImage = right->grab().toImage();
    EXPECT_EQ(rightImage.pixelColor(10, 100), right->palette().color(QPalette::Button));
}

}  // namespace
}  // namespace qireq::test
