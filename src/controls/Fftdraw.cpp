#include "controls/Fftdraw.h"

#include "controls/VclColors.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace qireq {

namespace {

TPlotFont DefaultFont()
{
    return TPlotFont{QFont(), clLime};
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
