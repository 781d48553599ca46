#pragma once
// The response plot's set-up, its axis label boxes and the mouse: picking a
// band marker and dragging it, which changes that band's frequency and gain.
//
// A PlotInteraction creates the three axis boxes (LeftPaintBox,
// BottomPaintBox, RightPaintBox) above the plot inside its panel and listens
// to the plot's mouse signals itself.
//
// The axis labels follow the plot page wherever the plot's own label margin
// puts it (that margin is measured from its font): the labels are placed
// from PlotPageRect() and the plot's value-to-pixel mapping at every paint,
// and the dB box keeps its place against the page's left edge, moving along
// when the page moves.
//
// GUI thread only.
#include "editor/PlotMapping.h"
#include "editor/ScalePainting.h"
#include "state/MainState.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QPainter;

namespace qireq {

class BandEditor;
class PaintBox;
class TFFTDraw;

// The plot's properties as the window's form stores them: axis limits, grid,
// colours, no titles and no X labels, background and fonts.
void ApplyStoredPlotProperties(TFFTDraw& plot);
// The set-up the window runs once before the first band refresh; it applies
// the stored properties first, so a plot fresh from its constructor is ready.
void SetUpPlot(TFFTDraw& plot);

class PlotInteraction : public QObject {
    Q_OBJECT
public:
    // plotPanel is Panel2, the plot's parent (849 x 241).
    PlotInteraction(MainState& state, BandEditor& editor, TFFTDraw& plot, QWidget* plotPanel,
                    QObject* parent = nullptr);
    ~PlotInteraction() override;

    // The band being dragged, 0..4, or -1.
    int DragBand() const { return dragBand_; }

    // The axis limits and page placement the pointer is mapped with.
    PlotGeometry Geometry() const;
    // Whether band index 0..4 is under a pointer at (x, y) in plot pixels.
    bool BandUnderPointer(int bandIndex, QPoint pos) const;
    // The plot page and the plot's mapping as seen from inside a box.
    AxisFrame AxisFrameIn(const QWidget& box) const;

    // Handlers
    void FFTDrawMouseDown(Qt::MouseButton button, QPoint pos);
    void FFTDrawMouseMove(QPoint pos);
    void FFTDrawMouseUp();
    void LeftBoxPaint(PaintBox& box, QPainter& canvas);
    void BottomBoxPaint(PaintBox& box, QPainter& canvas);
    void RightBoxPaint(PaintBox& box, QPainter& canvas);

    PaintBox* LeftPaintBox() const;
    PaintBox* BottomPaintBox() const;
    PaintBox* RightPaintBox() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DragTo(QPoint pos);
    // Moves the dB box to the page's present left edge and repaints the boxes.
    void PlaceAxisBoxes();
    void PlaceAxisBoxesLater();

    MainState& state_;
    BandEditor& editor_;
    TFFTDraw& plot_;
    // The boxes belong to the panel, which may go first.
    QPointer<PaintBox> leftBox_;
    QPointer<PaintBox> bottomBox_;
    QPointer<PaintBox> rightBox_;
    QRect placedForPage_;  // the plot page the boxes were last placed for
    bool placementQueued_ = false;
    int dragBand_ = -1;
};

}  // namespace qireq
