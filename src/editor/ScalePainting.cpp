#include "editor/ScalePainting.h"

#include <QPainter>

namespace qireq {

namespace {
void DrawAtTopLeft(QPainter& canvas, const PlacedText& label)
{
    // A large box anchored at the point, so the text is never clipped by it.
    canvas.drawText(QRect(label.X, label.Y, 200, 100), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                    QString::fromLatin1(label.Text));
}

void DrawAll(QPainter& canvas, const std::vector<PlacedText>& labels)
{
    for (const PlacedText& label : labels)
        DrawAtTopLeft(canvas, label);
}
}  // namespace

const std::vector<PlacedText>& GainScaleLabels()
{
    static const std::vector<PlacedText> labels{
        {"+12", -1, 4}, {"+9", 4, 23},  {"+6", 4, 43},  {"+3", 4, 62},  {"0", 10, 82},
        {"-3", 7, 101}, {"-6", 7, 120}, {"-9", 7, 139}, {"-12", 0, 158},
    };
    return labels;
}

const std::vector<int>& GainScaleTickRows()
{
    static const std::vector<int> rows{11, 30, 50, 69, 88, 107, 127, 146, 165};
    return rows;
}

const std::vector<PlacedText>& DbAxisLabels()
{
    static const std::vector<PlacedText> labels{
        {"+18", 5, 1},    {"+15", 5, 13},   {"+12", 5, 27},   {"+9", 10, 40},   {"+6", 10, 52},
        {"+3", 10, 64},   {"0", 15, 77},    {"-3", 12, 89},   {"-6", 11, 102},  {"-9", 11, 115},
        {"-12", 5, 128},  {"-15", 5, 140},  {"-18", 5, 153},  {"-21", 5, 165},  {"-24", 5, 177},
        {"-27", 5, 189},  {"-30", 4, 201},
    };
    return labels;
}

const std::vector<PlacedText>& FrequencyAxisLabels()
{
    static const std::vector<PlacedText> labels{
        {"20", 70, 3},   {"30", 110, 3},  {"40", 138, 3},  {"50", 160, 3},  {"100", 225, 3},
        {"200", 295, 3}, {"300", 335, 3}, {"400", 365, 3}, {"500", 387, 3}, {"1k", 457, 3},
        {"2k", 527, 3},  {"3k", 567, 3},  {"4k", 597, 3},  {"5k", 619, 3},  {"10k", 685, 3},
        {"20k", 754, 3}, {"(Hz)", 790, 3},
    };
    return labels;
}

void PaintGainScale(QPainter& canvas)
{
    canvas.setPen(Qt::black);
    for (int row : GainScaleTickRows())
        canvas.drawLine(20, row, 28, row);
    DrawAll(canvas, GainScaleLabels());
}

void PaintDbAxis(QPainter& canvas)
{
    DrawAll(canvas, DbAxisLabels());
}

void PaintFrequencyAxis(QPainter& canvas)
{
    DrawAll(canvas, FrequencyAxisLabels());
}

void PaintRightMargin(QPainter& canvas, QSize boxSize, const QColor& buttonFace)
{
    canvas.fillRect(QRect(QPoint(3, 0), QPoint(boxSize.width() - 1, boxSize.height() - 1)), buttonFace);
}

}  // namespace qireq
