// The editor's rules on the model alone: button steps, the pointer mapping of
// the plot, and the hint texts.
#include "editor/BandSteps.h"
#include "editor/HintText.h"
#include "editor/PlotMapping.h"
#include "eq/EqEncoding.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qireq {
namespace {

EqBand Band(int type, int freq)
{
    EqBand band;
    band.BandType = type;
    band.BandFreq = freq;
    return band;
}

TEST(BandStepsTest, TypeCycleMovesShelvesToTheirSideOf1000Hz)
{
    EqBand band = Band(kPeak, 100);
    CycleBandType(band);
    EXPECT_EQ(band.BandType, kLowShelf);
    EXPECT_EQ(band.BandFreq, 100);  // 198.4 Hz is fine for a low shelf
    CycleBandType(band);
    EXPECT_EQ(band.BandType, kHighShelf);
    EXPECT_EQ(band.BandFreq, 170);
    CycleBandType(band);
    EXPECT_EQ(band.BandType, kPeak);
    EXPECT_EQ(band.BandFreq, 170);

    EqBand high = Band(kPeak, 250);
    CycleBandType(high);  // a low shelf at 6350 Hz is not allowed
    EXPECT_EQ(high.BandType, kLowShelf);
    EXPECT_EQ(high.BandFreq, 170);
    CycleBandType(high);  // exactly 1000 Hz suits both shelves
    EXPECT_EQ(high.BandFreq, 170);
}

TEST(BandStepsTest, FrequencyStepsStopAtTheShelfLineAndHoldAtTheEnds)
{
    EqBand low = Band(kLowShelf, 170);
    EXPECT_FALSE(StepFreqUp(low));
    EXPECT_EQ(low.BandFreq, 170);
    EXPECT_TRUE(StepFreqDown(low));
    EXPECT_EQ(low.BandFreq, 169);

    EqBand high = Band(kHighShelf, 170);
    EXPECT_FALSE(StepFreqDown(high));
    EXPECT_EQ(high.BandFreq, 170);
    EXPECT_TRUE(StepFreqUp(high));
    EXPECT_EQ(high.BandFreq, 171);

    EqBand top = Band(kPeak, 300);
    EXPECT_TRUE(StepFreqUp(top));  // held, but still sent or shown
    EXPECT_EQ(top.BandFreq, 300);
    EqBand bottom = Band(kPeak, 0);
    EXPECT_TRUE(StepFreqDown(bottom));
    EXPECT_EQ(bottom.BandFreq, 0);
    // A peak crosses 1000 Hz freely.
    EqBand peak = Band(kPeak, 170);
    EXPECT_TRUE(StepFreqUp(peak));
    EXPECT_TRUE(StepFreqDown(peak));
    EXPECT_TRUE(StepFreqDown(peak));
    EXPECT_EQ(peak.BandFreq, 169);
}

TEST(BandStepsTest, QAndTrimStepsHoldAtTheirLimits)
{
    EqBand band;
    band.BandQ = 100;
    StepQUp(band);
    EXPECT_EQ(band.BandQ, 100);
    band.BandQ = 120;  // out of range from elsewhere: back to the top step
    StepQUp(band);
    EXPECT_EQ(band.BandQ, 100);
    band.BandQ = 0;
    StepQDown(band);
    EXPECT_EQ(band.BandQ, 0);
    StepQUp(band);
    EXPECT_EQ(band.BandQ, 1);

    int trim = 0;
    EXPECT_FALSE(StepTrimUp(trim));
    EXPECT_EQ(trim, 0);
    EXPECT_TRUE(StepTrimDown(trim));
    EXPECT_EQ(trim, -1);
    trim = -18;
    EXPECT_FALSE(StepTrimDown(trim));
    EXPECT_EQ(trim, -18);
    EXPECT_TRUE(StepTrimUp(trim));
    EXPECT_EQ(trim, -17);
}

// The plot as the window shows it: a 749 x 201 page 30 pixels into the control.
const PlotGeometry kPlot{};

int RowOfDb(double db)
{
    return static_cast<int>(kPlot.PageHeight - kPlot.PageHeight * (db - kPlot.YMin) / (kPlot.YMax - kPlot.YMin));
}

TEST(PlotMappingTest, PageEdgesMapToTheAxisLimits)
{
    EXPECT_DOUBLE_EQ(XUnitsAt(kPlot, 30), 256.0);
    EXPECT_DOUBLE_EQ(XUnitsAt(kPlot, 30 + 749), 1024.0);
    EXPECT_LT(XUnitsAt(kPlot, 0), 256.0);  // left of the page: lower frequencies
    // A page placed elsewhere maps the same way relative to its own corner.
    PlotGeometry shifted = kPlot;
    shifted.PageLeft = 44;
    shifted.PageTop = 10;
    EXPECT_DOUBLE_EQ(XUnitsAt(shifted, 44), 256.0);
    EXPECT_EQ(SliderValueAt(shifted, 10 + RowOfDb(6.0), 0), SliderValueAt(kPlot, RowOfDb(6.0), 0));
}

TEST(PlotMappingTest, TheRowOfAMarkerPicksItAtEveryTrim)
{
    // The row a marker is drawn on stands for its gain or the dB below it,
    // within the pick tolerance either way.
    for (int trim = -18; trim <= 0; ++trim) {
        for (int gain = -12; gain <= 12; ++gain) {
            const int pointerGain = -SliderValueAt(kPlot, RowOfDb(trim + gain), trim);
            EXPECT_TRUE(pointerGain == gain || pointerGain == gain - 1) << "trim " << trim << " gain " << gain;
            EXPECT_TRUE(BandUnderPointer(500.0, SliderValueAt(kPlot, RowOfDb(trim + gain), trim), 500, gain));
        }
    }
    EXPECT_EQ(-SliderValueAt(kPlot, RowOfDb(0.0), 0), 0);
    EXPECT_EQ(-SliderValueAt(kPlot, RowOfDb(6.0), 0), 6);
}

TEST(PlotMappingTest, TrimShiftsThePointerGain)
{
    const int row = RowOfDb(-3.0);
    EXPECT_EQ(-SliderValueAt(kPlot, row, -6), -SliderValueAt(kPlot, row, 0) + 6);
}

TEST(PlotMappingTest, PickToleranceIsUnderFiveXUnitsAndTwoDb)
{
    EXPECT_TRUE(BandUnderPointer(500.0, 0, 500, 0));
    EXPECT_TRUE(BandUnderPointer(504.9, 0, 500, 0));
    EXPECT_TRUE(BandUnderPointer(495.1, 0, 500, 0));
    EXPECT_FALSE(BandUnderPointer(505.0, 0, 500, 0));
    EXPECT_FALSE(BandUnderPointer(495.0, 0, 500, 0));
    EXPECT_TRUE(BandUnderPointer(500.0, -1, 500, 0));   // pointer at +1 dB
    EXPECT_TRUE(BandUnderPointer(500.0, 1, 500, 0));    // pointer at -1 dB
    EXPECT_FALSE(BandUnderPointer(500.0, -2, 500, 0));  // +2 dB
    EXPECT_FALSE(BandUnderPointer(500.0, 2, 500, 0));
    EXPECT_TRUE(BandUnderPointer(500.0, -7, 500, 6));
}

TEST(PlotMappingTest, MarkerPositionFollowsTheLogFrequencyScale)
{
    EXPECT_NEAR(MarkerXUnits(170), 1024.0 * 3.0 / std::log10(24000.0), 1e-9);
    EXPECT_NEAR(FrequencyAtXUnits(MarkerXUnits(170)), 1000.0, 1e-9);
    EXPECT_NEAR(FrequencyAtXUnits(1024.0), 24000.0, 1e-6);
}

double XUnitsOfHz(double hz)
{
    return 1024.0 * std::log10(hz) / std::log10(24000.0);
}

TEST(PlotMappingTest, DragTargetsKeepToTheTableEnds)
{
    EXPECT_EQ(DragTargetAt(0.0, 0).FreqStep, 1);  // far left: 19.7 Hz, the step above it
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(18.9), 0).FreqStep, 1);
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(19.3), 0).FreqStep, 0);
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(19.01), 0).FreqStep, 0);
    EXPECT_EQ(DragTargetAt(2000.0, 0).FreqStep, 300);
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(20100.0), 0).FreqStep, 300);
    EXPECT_EQ(DragTargetAt(XUnitsOfHz(1000.01), 0).FreqStep, 171);

    EXPECT_EQ(DragTargetAt(500.0, -30).GainCode, 0);   // +12 dB at most
    EXPECT_EQ(DragTargetAt(500.0, 30).GainCode, 48);   // -12 dB at most
    EXPECT_EQ(DragTargetAt(500.0, -3).GainCode, 18);   // +3 dB
    EXPECT_EQ(DragTargetAt(500.0, 0).GainCode, 24);
}

TEST(PlotMappingTest, ShelvesAreHeldOnTheirSideWhileDragged)
{
    EqBand high = Band(kHighShelf, 200);
    EXPECT_FALSE(ApplyDragMove(high, DragTarget{18, 120}));
    EXPECT_EQ(high.BandFreq, 170);
    EXPECT_EQ(high.BandGain, 18);  // the gain is kept even though nothing is shown
    EXPECT_TRUE(ApplyDragMove(high, DragTarget{20, 190}));
    EXPECT_EQ(high.BandFreq, 190);

    EqBand low = Band(kLowShelf, 100);
    EXPECT_FALSE(ApplyDragMove(low, DragTarget{24, 171}));
    EXPECT_EQ(low.BandFreq, 170);
    EXPECT_TRUE(ApplyDragMove(low, DragTarget{24, 170}));

    EqBand peak = Band(kPeak, 100);
    EXPECT_TRUE(ApplyDragMove(peak, DragTarget{24, 300}));
    EXPECT_EQ(peak.BandFreq, 300);
}

TEST(HintTextTest, TextsOfEachControl)
{
    const HintText type = TypeHint(3, kLowShelf);
    EXPECT_EQ(type.Label1, "Master EQ3");
    EXPECT_EQ(type.Label2, "Type:");
    EXPECT_EQ(type.Label3, "Low Shelf");
    EXPECT_EQ(FreqHint(1, "1000.0").Label3, "1000.0Hz");
    EXPECT_EQ(FreqHint(1, "1000.0").Label2, "Freq:");
    EXPECT_EQ(QHint(5, "typed").Label3, "typed");
    EXPECT_EQ(GainHint(2, -6).Label3, "6 dB");
    EXPECT_EQ(GainHint(2, 3).Label3, "-3 dB");
    EXPECT_EQ(GainHint(2, 0).Label2, "Gain:");
    EXPECT_EQ(OnOffHint(4, 1).Label3, "Off");
    EXPECT_EQ(OnOffHint(4, 0).Label3, "On");
    EXPECT_TRUE(OnOffHint(4, 0).Label2.isEmpty());
}

}  // namespace
}  // namespace qireq
