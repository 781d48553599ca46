#include "editor/PlotInteraction.h"

#include "controls/Fftdraw.h"
#include "controls/PaintBox.h"
#include "controls/VclColors.h"
#include "editor/BandEditor.h"
#include "editor/EditHistory.h"
#include "editor/ScalePainting.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace qireq {

void ApplyStoredPlotProperties(TFFTDraw& plot)
{
    plot.SetAutoRedraw(false);
    plot.SetColor(clBtnHighlight);
    QFont face(QStringLiteral("MS PMincho"));
    plot.setFont(face);
    QFont sansSerif(QStringLiteral("MS Sans Serif"));
    sansSerif.setPixelSize(11);
    const TPlotFont textFont{sansSerif, clBlack};
    plot.SetPlotTitleFont(textFont);
    plot.SetAxisTitleFont(textFont);
    plot.SetAxisLabelFont(textFont);
    plot.SetMouseCoordFont(textFont);
    plot.SetYMax(18);
    plot.SetYMin(-30);
    plot.SetXMax(1024);
    plot.SetXMin(256);
    plot.SetNumVertGrid(10);
    plot.SetNumHorzGrid(15);
    plot.SetGridColor(clSkyBlue);
    plot.SetAxisColor(clSkyBlue);
    plot.SetShowXLabel(false);
    plot.SetShowXTitle(false);
    plot.SetShowYTitle(false);
    plot.SetShowPlotTitle(false);
    plot.SetXTitle(QStringLiteral("Frequency "));
    plot.SetFFTNuimber(TFFTNumber::n2048);
}

void SetUpPlot(TFFTDraw& plot)
{
    ApplyStoredPlotProperties(plot);
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

namespace {
// The dB box as the window lays it out: 33 x 217 at 32, 8, which puts its
// right edge 3 pixels inside a page with a 30-pixel label margin (the
// margin the plot has in the window's default font). Other margins move the box.
constexpr QRect kLeftBoxAsLaidOut(32, 8, 33, 217);
constexpr int kLeftBoxIntoPage = 3;

PaintBox* MakeBox(QWidget* panel, const char* name, QRect geometry)
{
    auto* box = new PaintBox(panel);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->raise();  // over the plot's margins
    return box;
}
}  // namespace

PlotInteraction::PlotInteraction(MainState& state, BandEditor& editor, TFFTDraw& plot, QWidget* plotPanel,
                                 QObject* parent)
    : QObject(parent), state_(state), editor_(editor), plot_(plot)
{
    leftBox_ = MakeBox(plotPanel, "LeftPaintBox", kLeftBoxAsLaidOut);
    bottomBox_ = MakeBox(plotPanel, "BottomPaintBox", QRect(32, 216, 809, 17));
    rightBox_ = MakeBox(plotPanel, "RightPaintBox", QRect(808, 8, 33, 225));
    // The frequency unit "(Hz)" stands right of the page, over the right box.
    bottomBox_->raise();
    leftBox_->SetOnPaint([this](PaintBox& box, QPainter& canvas) { LeftBoxPaint(box, canvas); });
    bottomBox_->SetOnPaint([this](PaintBox& box, QPainter& canvas) { BottomBoxPaint(box, canvas); });
    rightBox_->SetOnPaint([this](PaintBox& box, QPainter& canvas) { RightBoxPaint(box, canvas); });

    connect(&plot_, &TFFTDraw::OnMouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) { FFTDrawMouseDown(button, pos); });
    connect(&plot_, &TFFTDraw::OnMouseMove, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPoint pos) { FFTDrawMouseMove(pos); });
    connect(&plot_, &TFFTDraw::OnMouseUp, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { FFTDrawMouseUp(); });

    // The page moves when the plot is resized or lays its pages out again
    // (a new label font, say), and the dB labels' room changes with the
    // box's own font.
    plot_.installEventFilter(this);
    leftBox_->installEventFilter(this);
    PlaceAxisBoxes();
}

PlotInteraction::~PlotInteraction()
{
    for (PaintBox* box : {leftBox_.data(), bottomBox_.data(), rightBox_.data()})
        if (box)
            box->SetOnPaint(nullptr);
}

PaintBox* PlotInteraction::LeftPaintBox() const
{
    return leftBox_.data();
}

PaintBox* PlotInteraction::BottomPaintBox() const
{
    return bottomBox_.data();
}

PaintBox* PlotInteraction::RightPaintBox() const
{
    return rightBox_.data();
}

AxisFrame PlotInteraction::AxisFrameIn(const QWidget& box) const
{
    const QRect page = plot_.PlotPageRect();
    const QPoint origin = box.mapFrom(box.window(), plot_.mapTo(plot_.window(), page.topLeft()));
    return AxisFrame{QRect(origin, page.size()), plot_.XMapping(), plot_.YMapping(), box.size()};
}

void PlotInteraction::PlaceAxisBoxes()
{
    placedForPage_ = plot_.PlotPageRect();
    PaintBox* leftBox = leftBox_.data();
    QWidget* panel = leftBox ? leftBox->parentWidget() : nullptr;
    if (!leftBox || !panel)
        return;
    // Where the page's left edge lies in the panel the boxes share.
    const int pageLeft = panel->mapFrom(panel->window(), plot_.mapTo(plot_.window(), placedForPage_.topLeft())).x();
    leftBox->ensurePolished();
    const int widest = WidestDbAxisLabel(QFontMetrics(leftBox->font()));
    // As far into the page as the layout has it; further left when the labels
    // would not fit in the box there.
    const int left = std::min(pageLeft + kLeftBoxIntoPage - kLeftBoxAsLaidOut.width(),
                              pageLeft - kDbLabelGap - widest);
    leftBox->move(left, kLeftBoxAsLaidOut.top());
    for (PaintBox* box : {leftBox_.data(), bottomBox_.data(), rightBox_.data()})
        if (box)
            box->update();
}

void PlotInteraction::PlaceAxisBoxesLater()
{
    if (placementQueued_)
        return;
    placementQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            placementQueued_ = false;
            PlaceAxisBoxes();
        },
        Qt::QueuedConnection);
}

bool PlotInteraction::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &plot_) {
        // A resize comes before the plot paints; a new layout shows first in
        // the plot's paint, where moving a sibling would be out of place.
        if (event->type() == QEvent::Resize && plot_.PlotPageRect() != placedForPage_)
            PlaceAxisBoxes();
        else if (event->type() == QEvent::Paint && plot_.PlotPageRect() != placedForPage_)
            PlaceAxisBoxesLater();
    } else if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        // The only other object watched is the dB box, whose font decides
        // where it goes. It is not compared through leftBox_: the filter
        // also sees the box's own destruction, when it is no PaintBox any more.
        PlaceAxisBoxesLater();
    }
    return QObject::eventFilter(watched, event);
}

PlotGeometry PlotInteraction::Geometry() const
{
    const QRect page = plot_.PlotPageRect();
    PlotGeometry geometry;
    geometry.XMin = plot_.XMin();
    geometry.XMax = plot_.XMax();
    geometry.YMin = plot_.YMin();
    geometry.YMax = plot_.YMax();
    geometry.PageLeft = page.left();
    geometry.PageTop = page.top();
    geometry.PageWidth = plot_.GetPlotWidth();
    geometry.PageHeight = plot_.GetPlotHeight();
    return geometry;
}

bool PlotInteraction::BandUnderPointer(int bandIndex, QPoint pos) const
{
    const PlotGeometry geometry = Geometry();
    const double xUnits = XUnitsAt(geometry, pos.x());
    const int sliderValue = SliderValueAt(geometry, pos.y(), state_.Eq.Trim);
    // The marker's stored x only: its level is taken from the band's slider.
    return qireq::BandUnderPointer(xUnits, sliderValue, plot_.GetBlockPos(bandIndex).x(),
                                   editor_.ShownGainDb(bandIndex + 1));
}

// Every marker is tested; when markers overlap, the lowest band wins.
void PlotInteraction::FFTDrawMouseDown(Qt::MouseButton button, QPoint pos)
{
    dragBand_ = -1;
    for (int m = kBandCount - 1; m >= 0; --m) {
        plot_.setCursor(Qt::ArrowCursor);
        if (BandUnderPointer(m, pos) && button == Qt::LeftButton)
            dragBand_ = m;
    }
    // A drag is one step from press to release, however many writes it sends.
    if (dragBand_ >= 0)
        editor_.History().Begin(BandStepText(dragBand_ + 1, QStringLiteral("Drag")));
}

// Hovering shows the cross over a marker, the highest band first.
void PlotInteraction::FFTDrawMouseMove(QPoint pos)
{
    if (dragBand_ >= 0) {
        DragTo(pos);
        return;
    }
    for (int m = kBandCount - 1; m >= 0; --m) {
        plot_.setCursor(Qt::ArrowCursor);
        if (BandUnderPointer(m, pos)) {
            plot_.setCursor(Qt::CrossCursor);
            break;
        }
    }
}

void PlotInteraction::FFTDrawMouseUp()
{
    if (dragBand_ >= 0)
        editor_.History().End();
    dragBand_ = -1;
}

void PlotInteraction::DragTo(QPoint pos)
{
    const PlotGeometry geometry = Geometry();
    const DragTarget target =
        DragTargetAt(XUnitsAt(geometry, pos.x()), SliderValueAt(geometry, pos.y(), state_.Eq.Trim));
    const int n = dragBand_ + 1;
    // A shelf held at 1000 Hz stays where it was on screen and on the unit.
    if (!ApplyDragMove(state_.Eq.Bands[static_cast<std::size_t>(dragBand_)], target))
        return;
    if (state_.Connected)
        editor_.SendBand(n);
    else
        editor_.RefreshBand(n);
}

void PlotInteraction::LeftBoxPaint(PaintBox& box, QPainter& canvas)
{
    PaintDbAxis(canvas, AxisFrameIn(box));
}

void PlotInteraction::BottomBoxPaint(PaintBox& box, QPainter& canvas)
{
    PaintFrequencyAxis(canvas, AxisFrameIn(box));
}

void PlotInteraction::RightBoxPaint(PaintBox& box, QPainter& canvas)
{
    PaintRightMargin(canvas, box.size(), box.palette().color(QPalette::Button));
}

}  // namespace qireq
