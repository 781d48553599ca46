// The plot's pure parts: value <-> pixel mapping, page layout, number texts.
#include "controls/FloatText.h"
#include "controls/PlotLayout.h"
#include "controls/PlotScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qireq {
namespace {

TEST(PlotScale, ResponsePlotColumnsAndRows)
{
    // The response plot: x-units 256..1024 on a 749-pixel page, -30..+18 dB
    // on 201 rows.
    const auto x = AxisMapping::X(256, 1024, TAxisFormat::Linear, 749);
    EXPECT_EQ(x.Pixel(256), 0);
    EXPECT_EQ(x.Pixel(640), 374);  // 374.5 truncated
    EXPECT_EQ(x.Pixel(1024), 749);
    EXPECT_EQ(x.Pixel(0), -249);   // left of the page, truncated toward zero (-249.67)

    const auto y = AxisMapping::Y(-30, 18, TAxisFormat::Linear, 201);
    EXPECT_EQ(y.Pixel(0), 75);     // 201 - 201 * 30 / 48 = 75.375
    EXPECT_EQ(y.Pixel(18), 0);
    EXPECT_EQ(y.Pixel(-30), 201);
    EXPECT_EQ(y.Pixel(-27), 188);  // the lowest grid line
    EXPECT_EQ(y.Pixel(15), 12);
    // Above the page the row is negative and truncates toward zero.
    EXPECT_EQ(y.Pixel(18.1), 0);   // -0.42 -> 0
    EXPECT_EQ(y.Pixel(20), -8);    // -8.375 -> -8
}

TEST(PlotScale, PixelToValueIsTheInverse)
{
    const auto x = AxisMapping::X(256, 1024, TAxisFormat::Linear, 749);
    const auto y = AxisMapping::Y(-30, 18, TAxisFormat::Linear, 201);
    for (double v : {256.0, 300.25, 640.0, 1023.9}) {
        EXPECT_NEAR(x.Value(x.Exact(v)), v, 1e-9);
        // A whole pixel maps back into the x-units that truncate onto it.
        EXPECT_EQ(x.Pixel(x.Value(x.Pixel(v))), x.Pixel(v));
    }
    for (double v : {-30.0, -12.5, 0.0, 17.0}) {
        EXPECT_NEAR(y.Value(y.Exact(v)), v, 1e-9);
    }
    EXPECT_DOUBLE_EQ(y.Value(201), -30.0);
    EXPECT_DOUBLE_EQ(y.Value(0), 18.0);
}

TEST(PlotScale, LogAxis)
{
    const auto x = AxisMapping::X(10, 10000, TAxisFormat::Log, 300);
    EXPECT_EQ(x.Pixel(10), 0);
    EXPECT_EQ(x.Pixel(100), 100);
    EXPECT_EQ(x.Pixel(1000), 200);
    EXPECT_NEAR(x.Value(150), std::sqrt(10.0) * 100, 1e-9);
    // A value not above 0 counts as a tenth of the minimum: one decade left.
    EXPECT_EQ(x.Pixel(0), -100);
    EXPECT_EQ(x.Pixel(-5), -100);

    const auto y = AxisMapping::Y(1, 1000, TAxisFormat::Log, 300);
    EXPECT_EQ(y.Pixel(1), 300);
    EXPECT_EQ(y.Pixel(10), 200);
    EXPECT_EQ(y.Pixel(1000), 0);

    // Limits without a logarithm still give a usable scale.
    const auto bad = AxisMapping::X(-1, 0, TAxisFormat::Log, 100);
    EXPECT_EQ(bad.Pixel(10), 100);  // maximum taken as 10, minimum as 1
    EXPECT_EQ(bad.Pixel(1), 0);
}

TEST(PlotScale, StrayValuesNeverOverflow)
{
    const auto x = AxisMapping::X(0, 1e-300, TAxisFormat::Linear, 749);
    EXPECT_EQ(x.Pixel(1.0), 1 << 30);
    EXPECT_EQ(x.Pixel(-1.0), -(1 << 30));
    const auto y = AxisMapping::Y(-30, 18, TAxisFormat::Linear, 201);
    EXPECT_EQ(y.Pixel(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(y.Pixel(-std::numeric_limits<double>::infinity()), 1 << 30);
    // Equal limits and empty pages.
    EXPECT_EQ(AxisMapping::X(5, 5, TAxisFormat::Linear, 100).Pixel(7), 0);
    EXPECT_DOUBLE_EQ(AxisMapping::X(5, 9, TAxisFormat::Linear, 0).Value(3), 5.0);

    EXPECT_EQ(TruncToInt(700.9), 700);
    EXPECT_EQ(TruncToInt(-3.7), -3);
    EXPECT_EQ(TruncToInt(-0.99), 0);
}

PlotLayoutInput ResponsePlotInput()
{
    // The main window's plot: 809 x 201, no titles, no X labels, Y labels on.
    PlotLayoutInput in;
    in.Width = 809;
    in.Height = 201;
    in.ShowYLabel = true;
    in.YLabelWidth = 56;
    in.XLabelHeight = in.XTitleHeight = in.YTitleHeight = in.PlotTitleHeight = 13;
    return in;
}

TEST(PlotLayout, ResponsePlotPage)
{
    const PlotLayoutResult out = LayOutPlotPages(ResponsePlotInput());
    EXPECT_EQ(out.Plot, QRect(30, 0, 749, 201));  // full height, 30 short of the right edge
    EXPECT_EQ(out.RightMargin, QRect(779, 0, 30, 201));
    EXPECT_EQ(out.YLabel, QRect(0, 0, 30, 201));
    EXPECT_TRUE(out.XLabel.isEmpty());
    EXPECT_TRUE(out.PlotTitle.isEmpty());
    EXPECT_TRUE(out.ShowYLabel);

    // Without labels the page starts 30 pixels left of the control.
    PlotLayoutInput bare = ResponsePlotInput();
    bare.ShowYLabel = false;
    EXPECT_EQ(LayOutPlotPages(bare).Plot, QRect(-30, 0, 809, 201));
}

TEST(PlotLayout, LabelsAndTitlesTakeTheirRoom)
{
    PlotLayoutInput in = ResponsePlotInput();
    in.ShowXLabel = in.ShowXTitle = in.ShowYTitle = in.ShowPlotTitle = true;
    const PlotLayoutResult out = LayOutPlotPages(in);
    // left = -30 + 56 + 4 + 2 * 13; top = 2 * 13; bottom = 201 - 15 - 26.
    EXPECT_EQ(out.Plot, QRect(56, 26, 779 - 56, 160 - 26));
    EXPECT_EQ(out.XLabel, QRect(56, 160, 723, 15));   // down to the title bottom
    EXPECT_EQ(out.XTitle, QRect(56, 175, 723, 26));   // from there to the foot
    EXPECT_EQ(out.YTitle, QRect(0, 26, 26, 175));
    EXPECT_EQ(out.YLabel, QRect(26, 26, 30, 175));
    EXPECT_EQ(out.PlotTitle, QRect(0, 0, 779, 26));
}

TEST(PlotLayout, NoRoomSwitchesLabelsOff)
{
    PlotLayoutInput low = ResponsePlotInput();
    low.Height = 40;
    low.ShowXLabel = low.ShowXTitle = low.ShowPlotTitle = true;  // 15 + 26 + 26 > 40
    PlotLayoutResult out = LayOutPlotPages(low);
    EXPECT_FALSE(out.ShowXLabel);
    EXPECT_FALSE(out.ShowXTitle);
    EXPECT_FALSE(out.ShowPlotTitle);
    EXPECT_TRUE(out.ShowYLabel);
    EXPECT_EQ(out.Plot, QRect(30, 0, 749, 40));

    PlotLayoutInput narrow = ResponsePlotInput();
    narrow.Width = 80;  // 20 pixels of plot page are left
    EXPECT_EQ(LayOutPlotPages(narrow).Plot, QRect(30, 0, 20, 201));
    narrow.Width = 60;  // the label margin would leave no plot page
    out = LayOutPlotPages(narrow);
    EXPECT_FALSE(out.ShowYLabel);
    EXPECT_EQ(out.Plot, QRect(-30, 0, 60, 201));

    PlotLayoutInput none = ResponsePlotInput();
    none.Width = 0;
    none.Height = 0;
    out = LayOutPlotPages(none);
    EXPECT_TRUE(out.Plot.isEmpty());
    EXPECT_GE(out.Plot.width(), 0);
    EXPECT_GE(out.RightMargin.width(), 0);
}

TEST(FloatText, Formats)
{
    using F = TStringFloatFormat;
    EXPECT_EQ(FloatToTextF(3.14159, F::sffGeneral, 4, 4), "3.142");
    EXPECT_EQ(FloatToTextF(1024, F::sffGeneral, 4, 4), "1024");
    EXPECT_EQ(FloatToTextF(31415.9, F::sffGeneral, 4, 4), "3.142E0004");
    EXPECT_EQ(FloatToTextF(3.14159e-100, F::sffGeneral, 4, 4), "3.142E-0100");
    EXPECT_EQ(FloatToTextF(0.0000031, F::sffGeneral, 4, 0), "3.1E-6");
    EXPECT_EQ(FloatToTextF(0.000031, F::sffGeneral, 4, 0), "0.000031");
    EXPECT_EQ(FloatToTextF(-2.5, F::sffGeneral, 15, 0), "-2.5");
    EXPECT_EQ(FloatToTextF(0.0, F::sffGeneral, 4, 4), "0");
    EXPECT_EQ(FloatToTextF(-18, F::sffGeneral, 0, 0), "-2E1");  // precision held to 1

    EXPECT_EQ(FloatToTextF(3.14159, F::sffExponent, 4, 2), "3.142E+00");
    EXPECT_EQ(FloatToTextF(-0.00125, F::sffExponent, 3, 1), "-1.25E-3");

    EXPECT_EQ(FloatToTextF(3.14159, F::sffFixed, 4, 2), "3.14");
    EXPECT_EQ(FloatToTextF(3.14159, F::sffFixed, 4, 6), "3.142000");
    EXPECT_EQ(FloatToTextF(9.996, F::sffFixed, 15, 2), "10.00");
    EXPECT_EQ(FloatToTextF(-0.001, F::sffFixed, 15, 2), "0.00");
    EXPECT_EQ(FloatToTextF(123456.0, F::sffFixed, 4, 2), "1.235E05");  // too wide: general

    EXPECT_EQ(FloatToTextF(1234567.891, F::sffNumber, 15, 2), "1,234,567.89");
    EXPECT_EQ(FloatToTextF(-1234.5, F::sffCurrency, 15, 2), "-$1,234.50");

    EXPECT_EQ(FloatToTextF(std::nan(""), F::sffGeneral, 4, 4), "NAN");
    EXPECT_EQ(FloatToTextF(-HUGE_VAL, F::sffFixed, 4, 4), "-INF");
}

}  // namespace
}  // namespace qireq
