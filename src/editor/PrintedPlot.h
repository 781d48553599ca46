#pragma once
// The response plot drawn for print: frame, grid and axis labels, the sum
// curve and the band markers, painted at whatever resolution the device
// has (a PDF page, a large picture) rather than copied from the screen.
// GUI thread only (fonts).
#include "eq/EqBand.h"

class QPainter;
class QRectF;

namespace qireq {

class TFFTDraw;

// The part of the plot shown: x in grid points, y in dB.
struct PlotRange {
    double XMin = 256.0;
    double XMax = 1024.0;
    double YMin = -30.0;
    double YMax = 18.0;
};
// The range the window's plot shows now.
PlotRange RangeOf(const TFFTDraw& plot);

// area includes the axis labels; the page is inset from it to make room.
void PaintResponseForPrint(QPainter& painter, const QRectF& area, const EqState& eq, bool connected,
                           const PlotRange& range);

}  // namespace qireq
