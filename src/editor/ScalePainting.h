#pragma once
// The painted scales: the dB scale beside each gain slider and the dB and
// frequency labels around the response plot.
//
// Label positions are worked out from the font the box paints with, so that
// a label sits where it belongs whatever the font's widths: the gain-scale
// labels end just before their tick and are centred on its row; the plot's
// labels follow the plot page and its value-to-pixel mapping, the dB labels
// ending a little left of the page at their grid rows, the frequency labels
// centred under their grid lines.
#include "controls/PlotScale.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class QColor;
class QFontMetrics;
class QPainter;
class QRegion;

namespace qireq {

// A text and the box it is painted in: the box's top-left is the text's
// top-left point, its size the text's advance and line height.
struct PlacedLabel {
    QString Text;
    QRect Box;
};

// --- Gain scale ---------------------------------------------------------------

struct GainScaleLabel {
    const char* Text;
    int TickRow;  // the row of the tick this label names
};
// "+12" .. "-12", one per tick, 3 dB apart.
const std::vector<GainScaleLabel>& GainScaleLabels();
// The ticks run from this column to kGainTickRight.
constexpr int kGainTickLeft = 20;
constexpr int kGainTickRight = 28;
// The labels: right-aligned one pixel before the tick, centred on its row.
std::vector<PlacedLabel> PlaceGainScaleLabels(const QFontMetrics& metrics);
// The box's font made narrow enough (never wider) that every gain label fits
// between the box's edge and its tick.
QFont GainScaleFont(const QFont& boxFont);
// The ticks in black, then the labels; labels are kept out of `hidden` (the
// parts of the box that lie under a slider) so they never show through one.
void PaintGainScale(QPainter& canvas, const QRegion& hidden);

// --- Plot axes ----------------------------------------------------------------

// The plot page as an axis box sees it, and how the plot turns values into
// page pixels (x-units across, dB down).
struct AxisFrame {
    QRect Page;  // the plot page in the box's own coordinates
    AxisMapping X;
    AxisMapping Y;
    QSize Box;   // the box's own size
};

struct DbAxisLabel {
    const char* Text;
    int Db;
};
// "+18" down to "-30", every 3 dB.
const std::vector<DbAxisLabel>& DbAxisLabels();

struct FrequencyAxisLabel {
    const char* Text;
    double Hz;
};
// "20" .. "20k", each on its grid line.
const std::vector<FrequencyAxisLabel>& FrequencyAxisLabels();
// The unit caption after the last frequency label.
inline constexpr const char* kFrequencyUnitText = "(Hz)";

// How far the dB labels end before the page's left edge (clear of the ticks).
constexpr int kDbLabelGap = 8;
// How far the unit caption starts after the page's right edge (less where
// the box would cut it off).
constexpr int kFrequencyUnitGap = 11;
// The smallest gap kept between neighbouring frequency labels.
constexpr int kFrequencyLabelSpacing = 2;

std::vector<PlacedLabel> PlaceDbAxisLabels(const AxisFrame& frame, const QFontMetrics& metrics);
// The labels centred under their lines, two crowded neighbours spread apart
// evenly; then the unit caption.
std::vector<PlacedLabel> PlaceFrequencyAxisLabels(const AxisFrame& frame, const QFontMetrics& metrics);
// The widest dB label in this font.
int WidestDbAxisLabel(const QFontMetrics& metrics);

void PaintDbAxis(QPainter& canvas, const AxisFrame& frame);
void PaintFrequencyAxis(QPainter& canvas, const AxisFrame& frame);
// The box over the plot's right edge: button face from x 3 to the box's edge.
void PaintRightMargin(QPainter& canvas, QSize boxSize, const QColor& buttonFace);

// --- Fitting --------------------------------------------------------------------

// The font, condensed just enough that each text's advance fits in `room`
// pixels; the font itself when they already fit. The condensing stops at
// 60 %, so a hopeless case stays legible rather than fitting.
QFont CondensedToFit(const QFont& font, const QStringList& texts, int room);

}  // namespace qireq
