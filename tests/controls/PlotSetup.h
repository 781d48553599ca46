#pragma once
// The response plot as the main window sets it up: the values stored with
// the window first, then the settings its constructor applies.
#include "controls/Fftdraw.h"
#include "controls/VclColors.h"

namespace qireq::test {

inline TPlotFont ClassicFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return TPlotFont{font, clBlack};
}

inline void SetUpLikeResponsePlot(TFFTDraw& plot)
{
    plot.SetAutoRedraw(false);
    plot.SetAxisColor(clSkyBlue);
    plot.SetGridColor(clSkyBlue);
    plot.SetColor(clBtnHighlight);
    plot.SetShowXLabel(false);
    plot.SetShowXTitle(false);
    plot.SetShowYTitle(false);
    plot.SetShowPlotTitle(false);
    plot.SetNumHorzGrid(15);
    plot.SetFFTNuimber(TFFTNumber::n2048);
    plot.SetPlotTitleFont(ClassicFont());
    plot.SetAxisTitleFont(ClassicFont());
    plot.SetAxisLabelFont(ClassicFont());
    plot.SetMouseCoordFont(ClassicFont());
    plot.resize(809, 201);

    plot.SetPlotTitle(QStringLiteral("  "));
    plot.SetYTitle(QStringLiteral("     "));
    plot.SetXTitle(QStringLiteral("    "));
    plot.SetAxisStyle(TAxisStyle::CenteredBox);
    plot.SetSampleRate(TSampleRate::n48000);
    plot.SetMouseControl(true);
    plot.SetYLabelPrecision(0);
    plot.SetAutoRedraw(true);
    plot.SetYLabelDigits(0);
    plot.SetXMax(1024);
    plot.SetXMin(256);
    plot.SetYMax(18);
    plot.SetYMin(-30);
    plot.SetXAutoScale(false);
    plot.SetYAutoScale(false);
    plot.SetXAxisFormat(TAxisFormat::Linear);
    plot.SetYAxisFormat(TAxisFormat::Linear);
}

}  // namespace qireq::test
