// The control's properties and the autoscaling of its limits: each setter
// stores its value and marks what it changes to be drawn again.
#include "controls/Fftdraw.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace qireq {

// --- Autoscale ----------------------------------------------------------------

namespace {

// The smallest and largest finite value over all curves' X or Y, widened
// when equal and kept positive on a log axis.
std::pair<double, double> ScaleOf(const std::vector<TPlotListMember>& plots, bool ofX, TAxisFormat format,
                                  double logMinFraction)
{
    double lo = 0.0;
    double hi = 0.0;
    bool any = false;
    for (const auto& member : plots) {
        const auto& values = ofX ? member.X : member.Y;
        for (double v : values) {
            if (!std::isfinite(v))
                continue;
            if (!any) {
                lo = hi = v;
                any = true;
            } else {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    if (!any) {
        lo = -1.0;
        hi = 1.0;
    }
    if (format == TAxisFormat::Linear) {
        if (hi == lo)
            hi = lo + 1.0;
        return {lo, hi};
    }
    if (hi == lo)
        hi = lo * 10.0;
    if (hi <= 0.0)
        hi = 10.0;
    if (lo <= 0.0)
        lo = hi * logMinFraction;
    return {lo, hi};
}

// Equal limits would leave the axis without a span.
double WidenedMax(double min, double max, TAxisFormat format)
{
    if (max != min)
        return max;
    if (format == TAxisFormat::Linear)
        return min + 1.0;
    return min > 0.0 ? min * 10.0 : 10.0;
}

}  // namespace

void TFFTDraw::FindXMaxMin()
{
    std::tie(xMin_, xMax_) = ScaleOf(plots_, true, xAxisFormat_, 0.1);
}

void TFFTDraw::FindYMaxMin()
{
    std::tie(yMin_, yMax_) = ScaleOf(plots_, false, yAxisFormat_, 0.01);
}

// --- Properties -------------------------------------------------------------

void TFFTDraw::SetAutoRedraw(bool on)
{
    autoRedraw_ = on;
    if (on && isVisible())
        Redraw();
}

void TFFTDraw::SetAxisColor(const QColor& color)
{
    axisColor_ = color;
    PlotPageChanged();
}

void TFFTDraw::SetAxisStyle(TAxisStyle style)
{
    axisStyle_ = style;
    PlotPageChanged();
}

void TFFTDraw::SetXAxisFormat(TAxisFormat format)
{
    xAxisFormat_ = format;
    if (xAutoScale_)
        FindXMaxMin();
    xMax_ = WidenedMax(xMin_, xMax_, xAxisFormat_);
    LimitsChanged();
}

void TFFTDraw::SetYAxisFormat(TAxisFormat format)
{
    yAxisFormat_ = format;
    if (yAutoScale_)
        FindYMaxMin();
    yMax_ = WidenedMax(yMin_, yMax_, yAxisFormat_);
    LimitsChanged();
}

void TFFTDraw::SetShowXLabel(bool on)
{
    showXLabel_ = on;
    LayoutChanged();
}

void TFFTDraw::SetShowYLabel(bool on)
{
    showYLabel_ = on;
    LayoutChanged();
}

void TFFTDraw::SetXAutoScale(bool on)
{
    xAutoScale_ = on;
    if (on)
        FindXMaxMin();
    LimitsChanged();
}

void TFFTDraw::SetYAutoScale(bool on)
{
    yAutoScale_ = on;
    if (on)
        FindYMaxMin();
    LimitsChanged();
}

void TFFTDraw::SetXMax(double value)
{
    xMax_ = WidenedMax(xMin_, value, xAxisFormat_);
    LimitsChanged();
}

void TFFTDraw::SetXMin(double value)
{
    xMin_ = value;
    xMax_ = WidenedMax(xMin_, xMax_, xAxisFormat_);
    LimitsChanged();
}

void TFFTDraw::SetYMax(double value)
{
    yMax_ = WidenedMax(yMin_, value, yAxisFormat_);
    LimitsChanged();
}

void TFFTDraw::SetYMin(double value)
{
    yMin_ = value;
    yMax_ = WidenedMax(yMin_, yMax_, yAxisFormat_);
    LimitsChanged();
}

void TFFTDraw::SetXYMinMax(double xMin, double xMax, double yMin, double yMax)
{
    xMin_ = xMin;
    xMax_ = WidenedMax(xMin, xMax, xAxisFormat_);
    yMin_ = yMin;
    yMax_ = WidenedMax(yMin, yMax, yAxisFormat_);
    LimitsChanged();
}

void TFFTDraw::SetXLabelPrecision(int value)
{
    xLabelPrecision_ = value;
    LayoutChanged();
}

void TFFTDraw::SetYLabelPrecision(int value)
{
    yLabelPrecision_ = value;
    LayoutChanged();
}

void TFFTDraw::SetXLabelDigits(int value)
{
    xLabelDigits_ = value;
    LayoutChanged();
}

void TFFTDraw::SetYLabelDigits(int value)
{
    yLabelDigits_ = value;
    LayoutChanged();
}

void TFFTDraw::SetXLabelFormat(TStringFloatFormat format)
{
    xLabelFormat_ = format;
    LayoutChanged();
}

void TFFTDraw::SetYLabelFormat(TStringFloatFormat format)
{
    yLabelFormat_ = format;
    LayoutChanged();
}

void TFFTDraw::SetPointSize(int value)
{
    pointSize_ = std::clamp(value, 1, 10);
    PlotPageChanged();
}

void TFFTDraw::SetShowVertGrid(bool on)
{
    showVertGrid_ = on;
    PlotPageChanged();
}

void TFFTDraw::SetShowHorzGrid(bool on)
{
    showHorzGrid_ = on;
    PlotPageChanged();
}

void TFFTDraw::SetShowVertTicks(bool on)
{
    showVertTicks_ = on;
    PlotPageChanged();
}

void TFFTDraw::SetShowHorzTicks(bool on)
{
    showHorzTicks_ = on;
    PlotPageChanged();
}

void TFFTDraw::SetVertTickLength(int value)
{
    vertTickLength_ = std::clamp(value, 0, std::max(0, height()));
    PlotPageChanged();
}

void TFFTDraw::SetHorzTickLength(int value)
{
    horzTickLength_ = std::clamp(value, 0, std::max(0, width()));
    PlotPageChanged();
}

void TFFTDraw::SetNumVertGrid(int value)
{
    numVertGrid_ = std::max(0, value);
    PlotPageChanged();
}

void TFFTDraw::SetNumHorzGrid(int value)
{
    numHorzGrid_ = std::max(0, value);
    PlotPageChanged();
}

void TFFTDraw::SetGridColor(const QColor& color)
{
    gridColor_ = color;
    PlotPageChanged();
}

void TFFTDraw::SetShowXTitle(bool on)
{
    showXTitle_ = on;
    LayoutChanged();
}

void TFFTDraw::SetShowYTitle(bool on)
{
    showYTitle_ = on;
    LayoutChanged();
}

void TFFTDraw::SetShowPlotTitle(bool on)
{
    showPlotTitle_ = on;
    LayoutChanged();
}

void TFFTDraw::SetXTitle(const QString& text)
{
    xTitle_ = text;
    LayoutChanged();
}

void TFFTDraw::SetYTitle(const QString& text)
{
    yTitle_ = text;
    LayoutChanged();
}

void TFFTDraw::SetPlotTitle(const QString& text)
{
    plotTitle_ = text;
    LayoutChanged();
}

void TFFTDraw::SetPlotTitleFont(const TPlotFont& font)
{
    plotTitleFont_ = font;
    LayoutChanged();
}

void TFFTDraw::SetAxisTitleFont(const TPlotFont& font)
{
    axisTitleFont_ = font;
    LayoutChanged();
}

void TFFTDraw::SetAxisLabelFont(const TPlotFont& font)
{
    axisLabelFont_ = font;
    LayoutChanged();
}

void TFFTDraw::SetMouseCoordFont(const TPlotFont& font)
{
    mouseCoordFont_ = font;
    LayoutChanged();
}

void TFFTDraw::SetFFTNuimber(TFFTNumber value)
{
    fftNumber_ = value;
    PlotPageChanged();
}

void TFFTDraw::SetSampleRate(TSampleRate value)
{
    sampleRate_ = value;
    PlotPageChanged();
}

void TFFTDraw::SetColor(const QColor& color)
{
    color_ = color;
    titlesStale_ = true;
    PlotPageChanged();
    update();
}

}  // namespace qireq
