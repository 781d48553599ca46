#include "controls/Fftdraw.h"

#include "controls/VclColors.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <utility>

namespace qireq {

namespace {

// A block is a 16-pixel disc around its point with its number at (-4, -6).
constexpr int kBlockRadius = 8;
constexpr QPoint kBlockNumberOffset{-4, -6};

// How far outside the page a point may lie and still be drawn to: beyond
// this it is only moved to, which keeps stray values from costing time.
constexpr double kFarLeftPages = 2.0;
constexpr double kFarRightPages = 3.0;
constexpr double kFarAbovePages = 2.0;
constexpr double kFarBelowPages = 3.0;

// The vertical grid marks 1, 2, ... 10 times every power of ten on the
// spectrum's log axis. The x of frequency f is bins * lg f / lg nyquist:
// half the FFT size in bins spread over 0 Hz .. half the sample rate.
constexpr int kGridDecades = 14;

constexpr double kPi = 3.14159265358979323846;

int BinsOf(TFFTNumber n)
{
    return 128 << static_cast<int>(n);  // 128, 256, 512, 1024
}

double NyquistOf(TSampleRate rate)
{
    return 24000.0 * static_cast<double>(1 << static_cast<int>(rate));  // 24000, 48000, 96000
}

TPlotFont DefaultFont()
{
    return TPlotFont{QFont(), clLime};
}

// Grid values of a log axis: every power of ten and `perDecade` evenly
// spaced values inside each decade, over the decades the limits touch.
template <typename Visit>
void ForEachLogGridValue(double lgMin, double lgMax, int perDecade, Visit visit)
{
    if (!std::isfinite(lgMin) || !std::isfinite(lgMax))
        return;
    const double lo = std::floor(std::min(lgMin, lgMax));
    const double hi = std::ceil(std::max(lgMin, lgMax));
    for (double d = lo; d <= hi; d += 1.0) {
        const double decade = std::pow(10.0, d);
        visit(decade);
        if (d < hi) {
            const double stepValue = (decade * 10.0 - decade) / (perDecade + 1);
            for (int j = 1; j <= perDecade; ++j)
                visit(decade + j * stepValue);
        }
    }
}

double LgLimit(double value, double fallback)
{
    return value > 0.0 ? std::log10(value) : fallback;
}

}  // namespace

TFFTDraw::TFFTDraw(QWidget* parent)
    : QWidget(parent),
      axisColor_(clLime),
      gridColor_(clGreen),
      xTitle_(QStringLiteral("Frequency ")),
      yTitle_(QStringLiteral("dB")),
      plotTitle_(QStringLiteral("Frequency Response")),
      plotTitleFont_(DefaultFont()),
      axisTitleFont_(DefaultFont()),
      axisLabelFont_(DefaultFont()),
      mouseCoordFont_(DefaultFont()),
      color_(clBlack)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(300, 250);
}

TFFTDraw::~TFFTDraw() = default;

// --- Curves -----------------------------------------------------------------

bool TFFTDraw::FFTDraw(const double* y, int numPoints, int plotNumber, const QColor& color, TPlotStyle style)
{
    const int n = std::max(0, numPoints);
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        x[static_cast<std::size_t>(i)] = i;
    return StorePlot(std::move(x), y, n, plotNumber, color, style);
}

bool TFFTDraw::FFTDraw(const double* x, const double* y, int numPoints, int plotNumber, const QColor& color,
                       TPlotStyle style)
{
    const int n = (x && y) ? std::max(0, numPoints) : 0;
    std::vector<double> xs(x, x + n);
    return StorePlot(std::move(xs), y, n, plotNumber, color, style);
}

bool TFFTDraw::FFTDraw(double xFirst, double xLast, const double* y, int numPoints, int plotNumber,
                       const QColor& color, TPlotStyle style)
{
    const int n = std::max(0, numPoints);
    std::vector<double> x(static_cast<std::size_t>(n));
    // One point has no spread: it sits at xFirst.
    const double step = n > 1 ? (xLast - xFirst) / (n - 1) : 0.0;
    for (int i = 0; i < n; ++i)
        x[static_cast<std::size_t>(i)] = xFirst + step * i;
    return StorePlot(std::move(x), y, n, plotNumber, color, style);
}

bool TFFTDraw::StorePlot(std::vector<double> x, const double* y, int numPoints, int plotNumber,
                         const QColor& color, TPlotStyle style)
{
    const int n = y ? numPoints : 0;
    std::vector<double> ys(y, y + n);
    x.resize(static_cast<std::size_t>(n));

    bool existed = false;
    for (auto& member : plots_) {
        if (member.PlotNumber == plotNumber) {
            member.X = std::move(x);
            member.Y = std::move(ys);
            member.NumPoints = n;
            existed = true;
            break;
        }
    }
    if (!existed) {
        TPlotListMember member;
        member.X = std::move(x);
        member.Y = std::move(ys);
        member.Color = color;
        member.Style = style;
        member.NumPoints = n;
        member.PlotNumber = plotNumber;
        plots_.insert(plots_.begin(), std::move(member));
    }
    AfterPlotChange();
    return existed;
}

bool TFFTDraw::RemovePlot(int plotNumber)
{
    const auto it = std::find_if(plots_.begin(), plots_.end(),
                                 [plotNumber](const TPlotListMember& m) { return m.PlotNumber == plotNumber; });
    if (it == plots_.end())
        return false;
    plots_.erase(it);
    AfterPlotChange();
    return true;
}

void TFFTDraw::AfterPlotChange()
{
    if (xAutoScale_)
        FindXMaxMin();
    if (yAutoScale_)
        FindYMaxMin();
    emit OnChange();
    PlotPageChanged();
}

const TPlotListMember* TFFTDraw::FindPlot(int plotNumber) const
{
    for (const auto& member : plots_) {
        if (member.PlotNumber == plotNumber)
            return &member;
    }
    return nullptr;
}

bool TFFTDraw::SetPlotColor(int plotNumber, const QColor& color)
{
    auto* member = const_cast<TPlotListMember*>(FindPlot(plotNumber));
    if (!member)
        return false;
    member->Color = color;
    PlotPageChanged();
    return true;
}

QColor TFFTDraw::GetPlotColor(int plotNumber) const
{
    const auto* member = FindPlot(plotNumber);
    return member ? member->Color : QColor();
}

bool TFFTDraw::SetPlotStyle(int plotNumber, TPlotStyle style)
{
    auto* member = const_cast<TPlotListMember*>(FindPlot(plotNumber));
    if (!member)
        return false;
    member->Style = style;
    PlotPageChanged();
    return true;
}

TPlotStyle TFFTDraw::GetPlotStyle(int plotNumber) const
{
    const auto* member = FindPlot(plotNumber);
    return member ? member->Style : TPlotStyle::Line;
}

int TFFTDraw::GetPlotNumPoints(int plotNumber) const
{
    const auto* member = FindPlot(plotNumber);
    return member ? member->NumPoints : 0;
}

std::vector<double> TFFTDraw::GetPlotX(int plotNumber) const
{
    const auto* member = FindPlot(plotNumber);
    return member ? member->X : std::vector<double>();
}

std::vector<double> TFFTDraw::GetPlotY(int plotNumber) const
{
    const auto* member = FindPlot(plotNumber);
    return member ? member->Y : std::vector<double>();
}

// --- Blocks -----------------------------------------------------------------

void TFFTDraw::DrawBlock(double y, double x, const QColor& color, int blockIndex, bool hidden)
{
    if (blockIndex < 0 || blockIndex >= kBlockSlots)
        return;
    auto& block = blocks_[static_cast<std::size_t>(blockIndex)];
    block.X = x;
    block.Y = y;
    block.Color = color;
    block.Hidden = hidden;
    ShowPlotPage();
}

QPoint TFFTDraw::GetBlockPos(int blockIndex) const
{
    if (blockIndex < 0 || blockIndex >= kBlockSlots)
        return QPoint(0, 0);
    const auto& block = blocks_[static_cast<std::size_t>(blockIndex)];
    return QPoint(TruncToInt(block.X), TruncToInt(block.Y));
}

TBlock TFFTDraw::Block(int blockIndex) const
{
    if (blockIndex < 0 || blockIndex >= kBlockSlots)
        return TBlock{};
    return blocks_[static_cast<std::size_t>(blockIndex)];
}

// --- Pages ------------------------------------------------------------------

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

// --- Drawing ----------------------------------------------------------------

bool TFFTDraw::BackgroundKey::operator==(const BackgroundKey& o) const
{
    return Size == o.Size && Scale == o.Scale && XMin == o.XMin && XMax == o.XMax && YMin == o.YMin &&
           YMax == o.YMax && XFormat == o.XFormat && YFormat == o.YFormat && Color == o.Color &&
           GridColor == o.GridColor && AxisColor == o.AxisColor && AxisStyle == o.AxisStyle &&
           VertGrid == o.VertGrid && HorzGrid == o.HorzGrid && VertTicks == o.VertTicks &&
           HorzTicks == o.HorzTicks && VertTickLength == o.VertTickLength &&
           HorzTickLength == o.HorzTickLength && NumVertGrid == o.NumVertGrid && NumHorzGrid == o.NumHorzGrid &&
           FFTNumber == o.FFTNumber && SampleRate == o.SampleRate;
}

TFFTDraw::BackgroundKey TFFTDraw::CurrentBackgroundKey() const
{
    const auto& page = pages_[static_cast<std::size_t>(Page::Plot)];
    BackgroundKey key;
    key.Size = page.Dest.size();
    key.Scale = page.Bitmap.devicePixelRatio();
    key.XMin = xMin_;
    key.XMax = xMax_;
    key.YMin = yMin_;
    key.YMax = yMax_;
    key.XFormat = xAxisFormat_;
    key.YFormat = yAxisFormat_;
    key.Color = color_;
    key.GridColor = gridColor_;
    key.AxisColor = axisColor_;
    key.AxisStyle = axisStyle_;
    key.VertGrid = showVertGrid_;
    key.HorzGrid = showHorzGrid_;
    key.VertTicks = showVertTicks_;
    key.HorzTicks = showHorzTicks_;
    key.VertTickLength = vertTickLength_;
    key.HorzTickLength = horzTickLength_;
    key.NumVertGrid = numVertGrid_;
    key.NumHorzGrid = numHorzGrid_;
    key.FFTNumber = fftNumber_;
    key.SampleRate = sampleRate_;
    return key;
}

void TFFTDraw::DrawAllPlots() const
{
    plotStale_ = false;
    shownStale_ = true;
    auto& page = pages_[static_cast<std::size_t>(Page::Plot)];
    if (page.Bitmap.isNull())
        return;
    ++plotPageDraws_;

    // Grid, ticks and axis change far less often than the curve: they are
    // kept in a picture of their own and drawn only when one of their
    // inputs has changed.
    const BackgroundKey key = CurrentBackgroundKey();
    if (background_.isNull() || !(backgroundKey_ == key)) {
        backgroundKey_ = key;
        background_ = QImage(page.Bitmap.size(), page.Bitmap.format());
        background_.setDevicePixelRatio(page.Bitmap.devicePixelRatio());
        DrawBackground(background_, page.Dest.size());
    }
    // A plain copy of the pixels into the page's own buffer.
    if (page.Bitmap.size() == background_.size() && page.Bitmap.format() == background_.format())
        std::memcpy(page.Bitmap.bits(), background_.constBits(), static_cast<std::size_t>(background_.sizeInBytes()));
    else
        page.Bitmap = background_.copy();
    DrawCurves(page.Bitmap, page.Dest.size());
}

void TFFTDraw::DrawBackground(QImage& image, QSize size) const
{
    image.fill(color_);
    const int w = size.width();
    const int h = size.height();
    const AxisMapping xMap = AxisMapping::X(xMin_, xMax_, xAxisFormat_, w);
    const AxisMapping yMap = AxisMapping::Y(yMin_, yMax_, yAxisFormat_, h);
    // The places of the grid lines, shared by grid and ticks.
    std::vector<int> rows;
    if (yAxisFormat_ == TAxisFormat::Linear) {
        for (int k = 1; k <= numHorzGrid_; ++k)
            rows.push_back(yMap.Pixel(yMin_ + k * (yMax_ - yMin_) / (numHorzGrid_ + 1)));
    } else {
        ForEachLogGridValue(LgLimit(yMin_, -1.0), LgLimit(yMax_, 1.0), numHorzGrid_,
                            [&](double v) { rows.push_back(yMap.Pixel(v)); });
    }
    std::vector<int> columns;
    if (xAxisFormat_ == TAxisFormat::Linear) {
        const double bins = BinsOf(fftNumber_);
        const double lgNyquist = std::log10(NyquistOf(sampleRate_));
        for (int d = 1; d <= kGridDecades; ++d) {
            for (int m = 1; m <= 10; ++m)
                columns.push_back(xMap.Pixel(bins * std::log10(m * std::pow(10.0, d)) / lgNyquist));
        }
    } else {
        ForEachLogGridValue(LgLimit(xMin_, -1.0), LgLimit(xMax_, 1.0), numVertGrid_,
                            [&](double v) { columns.push_back(xMap.Pixel(v)); });
    }
    const auto onPage = [](int p, int extent) { return p >= 0 && p < extent; };

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Grid.
    painter.setPen(QPen(gridColor_, 1));
    if (showHorzGrid_) {
        for (int row : rows) {
            if (onPage(row, h))
                painter.drawLine(0, row, w - 1, row);
        }
    }
    if (showVertGrid_) {
        for (int column : columns) {
            if (onPage(column, w))
                painter.drawLine(column, 0, column, h - 1);
        }
    }

    // Ticks along the left and the bottom edge.
    painter.setPen(QPen(axisColor_, 1));
    if (showHorzTicks_ && horzTickLength_ > 0) {
        for (int row : rows) {
            if (onPage(row, h))
                painter.drawLine(0, row, horzTickLength_ - 1, row);
        }
    }
    const int vertTick = xAxisFormat_ == TAxisFormat::Linear ? vertTickLength_ + 2 : vertTickLength_;
    if (showVertTicks_ && vertTick > 0) {
        for (int column : columns) {
            if (onPage(column, w))
                painter.drawLine(column, h - 1, column, h - vertTick);
        }
    }

    // Axis: frame and/or zero lines.
    painter.setBrush(Qt::NoBrush);
    const bool box = axisStyle_ == TAxisStyle::Box || axisStyle_ == TAxisStyle::CenteredBox;
    const bool centered = axisStyle_ == TAxisStyle::Centered || axisStyle_ == TAxisStyle::CenteredBox;
    if (box)
        painter.drawRect(0, 0, w - 1, h - 1);
    if (centered) {
        if (yMax_ != yMin_) {
            const int row = yMap.Pixel(0.0);
            if (onPage(row, h))
                painter.drawLine(0, row, w - 1, row);
        }
        if (xMax_ != xMin_) {
            const int column = xMap.Pixel(0.0);
            if (onPage(column, w))
                painter.drawLine(column, 0, column, h - 1);
        }
    }
    if (axisStyle_ == TAxisStyle::LB) {
        painter.drawLine(0, 0, 0, h - 1);
        painter.drawLine(0, h - 1, w - 1, h - 1);
    }

}

void TFFTDraw::DrawCurves(QImage& image, QSize size) const
{
    const int w = size.width();
    const int h = size.height();
    const AxisMapping xMap = AxisMapping::X(xMin_, xMax_, xAxisFormat_, w);
    const AxisMapping yMap = AxisMapping::Y(yMin_, yMax_, yAxisFormat_, h);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Curves, newest first.
    const double farLeft = -kFarLeftPages * w;
    const double farRight = w + kFarRightPages * w;
    const double farAbove = -kFarAbovePages * h;
    const double farBelow = h + kFarBelowPages * h;
    QPolygon run;
    run.reserve(1024);
    for (const auto& member : plots_) {
        const bool line = member.Style == TPlotStyle::Line || member.Style == TPlotStyle::LineFilledSquares ||
                          member.Style == TPlotStyle::LineHollowSquares;
        const bool squares = member.Style != TPlotStyle::Line;
        const bool filled =
            member.Style == TPlotStyle::FilledSquares || member.Style == TPlotStyle::LineFilledSquares;
        painter.setPen(QPen(member.Color, 1));
        painter.setBrush(filled ? member.Color : color_);
        const int reach = pointSize_;

        run.clear();
        const auto flush = [&]() {
            if (line && run.size() > 1)
                painter.drawPolyline(run);
            run.clear();
        };
        for (int i = 0; i < member.NumPoints; ++i) {
            const double ex = xMap.Exact(member.X[static_cast<std::size_t>(i)]);
            const double ey = yMap.Exact(member.Y[static_cast<std::size_t>(i)]);
            if (!std::isfinite(ex) || !std::isfinite(ey)) {
                // A value without a place breaks the line.
                flush();
                continue;
            }
            const QPoint p(TruncToInt(ex), TruncToInt(ey));
            const bool far = ex < farLeft || ex > farRight || ey < farAbove || ey > farBelow;
            if (far) {
                // Only moved to: the line picks up from here at the next point.
                flush();
                run.append(p);
                continue;
            }
            if (!squares) {
                run.append(p);
                continue;
            }
            // Squares sit on top of the line into their point, and the line
            // to the next point leaves from the point again.
            if (line && !run.isEmpty()) {
                painter.drawLine(run.back(), p);
                run.clear();
            }
            painter.drawRect(p.x() - reach, p.y() - reach, 2 * reach - 1, 2 * reach - 1);
            run.append(p);
        }
        flush();
    }
}

void TFFTDraw::DrawTitlePages() const
{
    titlesStale_ = false;
    for (Page page : {Page::XLabel, Page::YLabel, Page::XTitle, Page::YTitle, Page::YTitleScratch,
                      Page::PlotTitle, Page::RightMargin, Page::MouseCoord})
        ClearPage(page);

    const auto drawCentered = [](TPaintPage& page, const TPlotFont& font, const QString& text) {
        if (page.Bitmap.isNull())
            return;
        QPainter painter(&page.Bitmap);
        painter.setFont(font.Font);
        painter.setPen(font.Color);
        painter.drawText(QRect(QPoint(0, 0), page.Dest.size()), Qt::AlignCenter, text);
    };
    if (showPlotTitle_)
        drawCentered(pages_[static_cast<std::size_t>(Page::PlotTitle)], plotTitleFont_, plotTitle_);
    if (showXTitle_)
        drawCentered(pages_[static_cast<std::size_t>(Page::XTitle)], axisTitleFont_, xTitle_);
    if (showYTitle_) {
        // The y title is written across on the scratch page and turned up
        // onto its own page.
        auto& scratch = pages_[static_cast<std::size_t>(Page::YTitleScratch)];
        auto& title = pages_[static_cast<std::size_t>(Page::YTitle)];
        drawCentered(scratch, axisTitleFont_, yTitle_);
        if (!scratch.Bitmap.isNull() && !title.Bitmap.isNull()) {
            QPainter painter(&title.Bitmap);
            painter.translate(0, title.Dest.height());
            painter.rotate(-90.0);
            painter.drawImage(QPoint(0, 0), scratch.Bitmap);
        }
    }
    // The label pages stay blank: the owner paints its own scales.
    shownStale_ = true;
}

void TFFTDraw::ComposeShownPage() const
{
    shownStale_ = false;
    const auto& page = pages_[static_cast<std::size_t>(Page::Plot)];
    shownPlotPage_ = page.Bitmap.copy();
    if (shownPlotPage_.isNull())
        return;
    shownPlotPage_.setDevicePixelRatio(page.Bitmap.devicePixelRatio());

    PrepareBlockSprites();
    const AxisMapping xMap = AxisMapping::X(xMin_, xMax_, xAxisFormat_, page.Dest.width());
    const AxisMapping yMap = AxisMapping::Y(yMin_, yMax_, yAxisFormat_, page.Dest.height());
    QPainter painter(&shownPlotPage_);
    for (int i = 0; i < kPaintedBlocks; ++i) {
        const auto& block = blocks_[static_cast<std::size_t>(i)];
        if (block.Hidden)
            continue;
        const QPoint at(xMap.Pixel(block.X), yMap.Pixel(block.Y));
        painter.drawImage(at + spriteOrigin_, blockSprites_[static_cast<std::size_t>(i)]);
    }
}

void TFFTDraw::PrepareBlockSprites() const
{
    const qreal scale = PageScale();
    if (spriteScale_ == scale && spriteFont_ == font() && !blockSprites_[0].isNull())
        return;
    spriteScale_ = scale;
    spriteFont_ = font();

    // The sprite holds the disc and the number, placed relative to the
    // block's point; the number may reach past the disc in a large font.
    const QFontMetrics metrics(spriteFont_);
    const QRect disc(-kBlockRadius, -kBlockRadius, 2 * kBlockRadius, 2 * kBlockRadius);
    const QRect number(kBlockNumberOffset, QSize(metrics.horizontalAdvance(QStringLiteral("5")) + 2,
                                                 metrics.height()));
    const QRect bounds = disc.united(number);
    spriteOrigin_ = bounds.topLeft();

    for (int i = 0; i < kPaintedBlocks; ++i) {
        QImage sprite(bounds.size() * scale, QImage::Format_ARGB32_Premultiplied);
        sprite.setDevicePixelRatio(scale);
        sprite.fill(Qt::transparent);
        QPainter painter(&sprite);
        painter.translate(-bounds.topLeft());
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(clBlack, 1));
        painter.setBrush(clBlack);
        painter.drawEllipse(QRectF(disc).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setFont(spriteFont_);
        painter.setPen(clWhite);
        painter.drawText(QRect(kBlockNumberOffset, number.size()), Qt::AlignLeft | Qt::AlignTop,
                         QString::number(i + 1));
        blockSprites_[static_cast<std::size_t>(i)] = sprite;
    }
}

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

// --- Events -----------------------------------------------------------------

void TFFTDraw::paintEvent(QPaintEvent* event)
{
    RefreshPages();
    QPainter painter(this);
    if (!uncovered_.isEmpty())
        painter.fillRect(uncovered_.boundingRect(), color_);
    const QRect dirty = event->rect();
    for (Page page : {Page::PlotTitle, Page::YTitle, Page::YLabel, Page::XLabel, Page::XTitle,
                      Page::RightMargin}) {
        const auto& p = PageAt(page);
        if (!p.Bitmap.isNull() && p.Dest.intersects(dirty))
            painter.drawImage(p.Dest.topLeft(), p.Bitmap);
    }
    const auto& plot = PageAt(Page::Plot);
    if (!shownPlotPage_.isNull() && plot.Dest.intersects(dirty))
        painter.drawImage(plot.Dest.topLeft(), shownPlotPage_);
}

void TFFTDraw::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    EnsureLayout();
}

void TFFTDraw::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // The block numbers are written in the control's own font.
        shownStale_ = true;
        update();
    }
}

namespace {
QPoint PointerAt(const QMouseEvent* event)
{
    const QPointF p = event->position();
    return QPoint(TruncToInt(p.x()), TruncToInt(p.y()));
}
}  // namespace

void TFFTDraw::mousePressEvent(QMouseEvent* event)
{
    emit OnMouseDown(event->button(), event->modifiers(), PointerAt(event));
}

void TFFTDraw::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like any other.
    emit OnMouseDown(event->button(), event->modifiers(), PointerAt(event));
}

void TFFTDraw::mouseMoveEvent(QMouseEvent* event)
{
    emit OnMouseMove(event->buttons(), event->modifiers(), PointerAt(event));
}

void TFFTDraw::mouseReleaseEvent(QMouseEvent* event)
{
    emit OnMouseUp(event->button(), event->modifiers(), PointerAt(event));
}

}  // namespace qireq
