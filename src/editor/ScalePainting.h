#pragma once
// The painted scales: the dB scale beside each gain slider and the dB and
// frequency labels around the response plot. Texts are placed by their
// top-left corner, in the painter's current font.
#include <QColor>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace qireq {

struct PlacedText {
    const char* Text;
    int X;
    int Y;
};

// Nine tick lines and the labels "+12" .. "-12" beside a gain slider.
void PaintGainScale(QPainter& canvas);
// The level axis: "+18" down to "-30", every 3 dB.
void PaintDbAxis(QPainter& canvas);
// The frequency axis: "20" to "20k" and "(Hz)".
void PaintFrequencyAxis(QPainter& canvas);
// The box over the plot's right edge: button face from x 3 to the box's edge.
void PaintRightMargin(QPainter& canvas, QSize boxSize, const QColor& buttonFace);

// The label tables, for painting and for checking placement.
const std::vector<PlacedText>& GainScaleLabels();
const std::vector<int>& GainScaleTickRows();
const std::vector<PlacedText>& DbAxisLabels();
const std::vector<PlacedText>& FrequencyAxisLabels();

}  // namespace qireq
