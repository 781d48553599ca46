// The plot's pointer mapping on its own: where a pointer picks a marker and
// what a drag move turns into.
#include "editor/PlotMapping.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qireq {
namespace {

// The plot as the window shows it: a 749 x 201 page 30 pixels into the control.
const PlotGeometry kPlot{};

int RowOfDb(double db)
{
    return static_cast<int>(kPlot.PageHeight - kPlot.PageHeight * (db - kPlot.YMin) / (kPlot.YMax - kPlot.YMin));
}

double XUnitsOfHz(double hz)
{
    return 1024.0 * std::log10(hz) / std::log10(24000.0);
}

TEST(PlotMappingTest, PageCornerAndSizeFixTheMapping)
{
    EXPECT_DOUBLE_EQ(XUnitsAt(kPlot, 30), 256.0);
    EXPECT_DOUBLE_EQ(XUnitsAt(kPlot, 30 + 749), 1024.0);
    PlotGeometry shifted = kPlot;
    shifted.PageLeft = 44;
    shifted.PageTop = 10;
    EXPECT_DOUBLE_EQ(XUnitsAt(shifted, 44), 256.0);
    EXPECT_EQ(SliderValueAt(shifted, 10 + RowOfDb(6.0), 0), SliderValueAt(kPlot, RowOfDb(6.0), 0));
    EXPECT_EQ(-SliderValueAt(kPlot, RowOfDb(6.0), -6), -SliderValueAt(kPlot, RowOfDb(6.0), 0) + 6);
}

TEST(PlotMappingTest, TheRowOfAMarkerPicksItAtEveryTrimAndGain)
{
    // The row a marker is drawn on stands for its gain or the dB below it.
    for (int trim = -18; trim <= 0; ++trim) {
        for (int gain = -12; gain <= 12; ++gain) {
            const int v = SliderValueAt(kPlot, RowOfDb(trim + gain), trim);
            EXPECT_TRUE(-v == gain || -v == gain - 1) << "trim " << trim << " gain " << gain;
            EXPECT_TRUE(BandUnderPointer(500.0, v, 500, gain));
        }
    }
}

TEST(PlotMappingTest, PickToleranceIsUnderFiveXUnitsAndTwoDb)
{
    EXPECT_TRUE(BandUnderPointer(504.9, 0, 500, 0));
    EXPECT_TRUE(BandUnderPointer(495.1, 0, 500, 0));
    EXPECT_FALSE(BandUnderPointer(505.0, 0, 500, 0));
    EXPECT_FALSE(BandUnderPointer(495.0, 0, 500, 0));
    EXPECT_TRUE(BandUnderPointer(500.0, -1, 500, 0));
    EXPECT_TRUE(BandUnderPointer(500.0, 1, 500, 0));
    EXPECT_FALSE(BandUnderPointer(500.0, -2, 500, 0));
    EXPECT_FALSE(BandUnderPointer(500.0, 2, 500, 0));
}

TEST(PlotMappingTest, DragTargetsKeepToTheTableEndsAndTheGainRange)
{
    EXPECT_EQ(DragTargetAt(0.0, 0).FreqStep, 1);  // below 19 Hz counts as 19.7 Hz
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(18.9), 0).FreqStep, 1);
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(19.01), 0).FreqStep, 0);
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(19.6), 0).FreqStep, 0);
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(20100.0), 0).FreqStep, 300);
    EXPECT_EQ(DragTargetAt(2000.0, 0).FreqStep, 300);
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(1000.01), 0).FreqStep, 171);
    EXPECT_EQ(DragTargetAt(500.0, -30).GainCode, 0);
    EXPECT_EQ(DragTargetAt(500.0, 30).GainCode, 48);
    EXPECT_EQ(DragTargetAt(500.0, -3).GainCode, 18);
}

TEST(PlotMappingTest, ShelvesAreHeldOnTheirSideButKeepTheDraggedGain)
{
    EqBand high;
    high.BandType = kHighShelf;
    high.BandFreq = 200;
    EXPECT_FALSE(ApplyDragMove(high, DragTarget{18, 120}));
    EXPECT_EQ(high.BandFreq, 170);
    EXPECT_EQ(high.BandGain, 18);
    EXPECT_TRUE(ApplyDragMove(high, DragTarget{20, 190}));
    EXPECT_EQ(high.BandFreq, 190);

    EqBand low;
    low.BandType = kLowShelf;
    EXPECT_FALSE(ApplyDragMove(low, DragTarget{24, 171}));
    EXPECT_TRUE(ApplyDragMove(low, DragTarget{24, 170}));
    EqBand peak;
    EXPECT_TRUE(ApplyDragMove(peak, DragTarget{24, 300}));
}

}  // namespace
}  // namespace qireq
