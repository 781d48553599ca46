// The control's pages: where each lies for the present size, font and
// limits, and when each is drawn again.
#include "controls/Fftdraw.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qireq {

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

qreal TFFTDraw::PageScale() const
{
    return devicePixelRatioF();
}

void TFFTDraw::EnsureLayout() const
{
    if (laidOutSize_ != size() || laidOutScale_ != PageScale()) {
        // The layout may switch labels off that do not fit; that is a change
        // of the control's own settings, so it runs on the non-const object.
        const_cast<TFFTDraw*>(this)->ResizePaintPage();
    }
}

int TFFTDraw::GetPlotWidth() const
{
    EnsureLayout();
    return PageAt(Page::Plot).Dest.width();
}

int TFFTDraw::GetPlotHeight() const
{
    EnsureLayout();
    return PageAt(Page::Plot).Dest.height();
}

QRect TFFTDraw::PlotPageRect() const
{
    EnsureLayout();
    return PageAt(Page::Plot).Dest;
}

AxisMapping TFFTDraw::XMapping() const
{
    return AxisMapping::X(xMin_, xMax_, xAxisFormat_, GetPlotWidth());
}

AxisMapping TFFTDraw::YMapping() const
{
    return AxisMapping::Y(yMin_, yMax_, yAxisFormat_, GetPlotHeight());
}

void TFFTDraw::ResizePaintPage()
{
    const QFontMetrics labelMetrics(axisLabelFont_.Font);
    const QFontMetrics titleMetrics(axisTitleFont_.Font);
    const QFontMetrics plotTitleMetrics(plotTitleFont_.Font);

    PlotLayoutInput in;
    in.Width = width();
    in.Height = height();
    in.ShowXLabel = showXLabel_;
    in.ShowXTitle = showXTitle_;
    in.ShowYLabel = showYLabel_;
    in.ShowYTitle = showYTitle_;
    in.ShowPlotTitle = showPlotTitle_;
    in.XLabelHeight =
        labelMetrics.boundingRect(FloatToTextF(xMin_, xLabelFormat_, xLabelPrecision_, xLabelDigits_)).height();
    in.XTitleHeight = titleMetrics.boundingRect(xTitle_).height();
    if (showYLabel_) {
        // Room for the widest number the labels could show, over the whole
        // range of magnitudes.
        const int precision = std::max(xLabelPrecision_, yLabelPrecision_);
        const int digits = std::max(xLabelDigits_, yLabelDigits_);
        int widest = 0;
        for (int k = -100; k <= 100; ++k) {
            const QString text = FloatToTextF(kPi * std::pow(10.0, k), xLabelFormat_, precision, digits);
            widest = std::max(widest, labelMetrics.horizontalAdvance(text));
        }
        in.YLabelWidth = widest;
    }
    in.YTitleHeight = titleMetrics.boundingRect(yTitle_).height();
    in.PlotTitleHeight = plotTitleMetrics.boundingRect(plotTitle_).height();

    const PlotLayoutResult out = LayOutPlotPages(in);
    showXLabel_ = out.ShowXLabel;
    showXTitle_ = out.ShowXTitle;
    showYLabel_ = out.ShowYLabel;
    showYTitle_ = out.ShowYTitle;
    showPlotTitle_ = out.ShowPlotTitle;

    laidOutSize_ = size();
    laidOutScale_ = PageScale();
    SizePage(Page::Plot, out.Plot);
    SizePage(Page::XLabel, out.XLabel);
    SizePage(Page::XTitle, out.XTitle);
    SizePage(Page::YLabel, out.YLabel);
    SizePage(Page::YTitle, out.YTitle);
    SizePage(Page::YTitleScratch, QRect(0, 0, out.YTitle.height(), out.YTitle.width()));
    SizePage(Page::PlotTitle, out.PlotTitle);
    SizePage(Page::RightMargin, out.RightMargin);
    SizePage(Page::MouseCoord, QRect());

    // Whatever no page covers is painted with Color directly.
    uncovered_ = QRegion(rect());
    for (Page page : {Page::Plot, Page::XLabel, Page::XTitle, Page::YLabel, Page::YTitle, Page::PlotTitle,
                      Page::RightMargin})
        uncovered_ -= PageAt(page).Dest;

    plotStale_ = true;
    titlesStale_ = true;
    shownStale_ = true;
}

void TFFTDraw::SizePage(Page page, const QRect& rect)
{
    auto& p = PageAt(page);
    p.Dest = rect;
    const qreal scale = PageScale();
    const QSize pixels(static_cast<int>(std::ceil(rect.width() * scale)),
                       static_cast<int>(std::ceil(rect.height() * scale)));
    if (p.Bitmap.size() != pixels || p.Bitmap.devicePixelRatio() != scale) {
        p.Bitmap = pixels.isEmpty() ? QImage() : QImage(pixels, QImage::Format_RGB32);
        p.Bitmap.setDevicePixelRatio(scale);
    }
}

void TFFTDraw::ClearPage(Page page) const
{
    auto& p = pages_[static_cast<std::size_t>(page)];
    if (!p.Bitmap.isNull())
        p.Bitmap.fill(color_);
}

void TFFTDraw::Redraw()
{
    EnsureLayout();
    DrawAllPlots();
    DrawTitlePages();
    ShowPlotPage();
    update();
}

void TFFTDraw::ClearPlot()
{
    EnsureLayout();
    for (std::size_t i = 0; i < pages_.size(); ++i)
        ClearPage(static_cast<Page>(i));
    plotStale_ = false;
    titlesStale_ = false;
    ShowPlotPage();
    update();
}

void TFFTDraw::RefreshPages() const
{
    EnsureLayout();
    if (plotStale_)
        DrawAllPlots();
    if (titlesStale_)
        DrawTitlePages();
    if (shownStale_)
        ComposeShownPage();
}

QImage TFFTDraw::ShownPlotPage() const
{
    RefreshPages();
    return shownPlotPage_;
}

void TFFTDraw::ShowPlotPage()
{
    shownStale_ = true;
    update(PageAt(Page::Plot).Dest);
}

void TFFTDraw::PlotPageChanged()
{
    plotStale_ = true;
    if (autoRedraw_ && isVisible()) {
        EnsureLayout();
        DrawAllPlots();
        ShowPlotPage();
    }
}

void TFFTDraw::LayoutChanged()
{
    // Lay out again before the next use; a hidden control being set up
    // measures its labels only once, when it is first needed.
    laidOutSize_ = QSize(-1, -1);
    plotStale_ = titlesStale_ = shownStale_ = true;
    if (autoRedraw_ && isVisible()) {
        EnsureLayout();
        DrawAllPlots();
        DrawTitlePages();
        ShowPlotPage();
        update();
    }
}

void TFFTDraw::LimitsChanged()
{
    PlotPageChanged();
}
}  // namespace qireq
