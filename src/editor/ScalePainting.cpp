#include "editor/ScalePainting.h"

#include "eq/BandResponse.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace qireq {

namespace {

constexpr int kNarrowestStretch = 60;
// The labels fit between the box's edge and one column before the tick.
constexpr int kGainLabelStart = 0;
constexpr int kGainLabelEnd = kGainTickLeft - 1;

// A box of the text's advance and line height with its top-left at (left, top).
PlacedLabel LabelAt(const QString& text, const QFontMetrics& metrics, int left, int top)
{
    return PlacedLabel{text, QRect(left, top, metrics.horizontalAdvance(text), metrics.height())};
}

// The top of a line of text whose middle falls on `row`.
int TopCentredOn(int row, const QFontMetrics& metrics)
{
    return row - (metrics.height() - 1) / 2;
}

void DrawAll(QPainter& canvas, const std::vector<PlacedLabel>& labels)
{
    for (const PlacedLabel& label : labels)
        canvas.drawText(label.Box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, label.Text);
}

int WidestOf(const QFontMetrics& metrics, const QStringList& texts)
{
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

QStringList GainScaleTexts()
{
    QStringList texts;
    for (const GainScaleLabel& label : GainScaleLabels())
        texts << QString::fromLatin1(label.Text);
    return texts;
}

}  // namespace

// --- Gain scale ---------------------------------------------------------------

const std::vector<GainScaleLabel>& GainScaleLabels()
{
    static const std::vector<GainScaleLabel> labels{
        {"+12", 11}, {"+9", 30},  {"+6", 50},  {"+3", 69},   {"0", 88},
        {"-3", 107}, {"-6", 127}, {"-9", 146}, {"-12", 165},
    };
    return labels;
}

std::vector<PlacedLabel> PlaceGainScaleLabels(const QFontMetrics& metrics)
{
    std::vector<PlacedLabel> placed;
    for (const GainScaleLabel& label : GainScaleLabels()) {
        const QString text = QString::fromLatin1(label.Text);
        const int width = metrics.horizontalAdvance(text);
        placed.push_back(LabelAt(text, metrics, kGainLabelEnd - width, TopCentredOn(label.TickRow, metrics)));
    }
    return placed;
}

QFont GainScaleFont(const QFont& boxFont)
{
    return CondensedToFit(boxFont, GainScaleTexts(), kGainLabelEnd - kGainLabelStart);
}

void PaintGainScale(QPainter& canvas, const QRegion& uncovered)
{
    canvas.setPen(Qt::black);
    for (const GainScaleLabel& label : GainScaleLabels())
        canvas.drawLine(kGainTickLeft, label.TickRow, kGainTickRight, label.TickRow);
    canvas.setFont(GainScaleFont(canvas.font()));
    canvas.setClipRegion(uncovered);
    DrawAll(canvas, PlaceGainScaleLabels(canvas.fontMetrics()));
}

// --- Plot axes ----------------------------------------------------------------

const std::vector<DbAxisLabel>& DbAxisLabels()
{
    static const std::vector<DbAxisLabel> labels{
        {"+18", 18},  {"+15", 15},  {"+12", 12},  {"+9", 9},    {"+6", 6},    {"+3", 3},
        {"0", 0},     {"-3", -3},   {"-6", -6},   {"-9", -9},   {"-12", -12}, {"-15", -15},
        {"-18", -18}, {"-21", -21}, {"-24", -24}, {"-27", -27}, {"-30", -30},
    };
    return labels;
}

const std::vector<FrequencyAxisLabel>& FrequencyAxisLabels()
{
    static const std::vector<FrequencyAxisLabel> labels{
        {"20", 20.0},     {"30", 30.0},     {"40", 40.0},     {"50", 50.0},     {"100", 100.0},
        {"200", 200.0},   {"300", 300.0},   {"400", 400.0},   {"500", 500.0},   {"1k", 1000.0},
        {"2k", 2000.0},   {"3k", 3000.0},   {"4k", 4000.0},   {"5k", 5000.0},   {"10k", 10000.0},
        {"20k", 20000.0},
    };
    return labels;
}

int WidestDbAxisLabel(const QFontMetrics& metrics)
{
    QStringList texts;
    for (const DbAxisLabel& label : DbAxisLabels())
        texts << QString::fromLatin1(label.Text);
    return WidestOf(metrics, texts);
}

std::vector<PlacedLabel> PlaceDbAxisLabels(const AxisFrame& frame, const QFontMetrics& metrics)
{
    const int right = frame.Page.left() - kDbLabelGap;
    std::vector<PlacedLabel> placed;
    for (const DbAxisLabel& label : DbAxisLabels()) {
        const QString text = QString::fromLatin1(label.Text);
        const int row = frame.Page.top() + frame.Y.Pixel(label.Db);
        placed.push_back(LabelAt(text, metrics, right - metrics.horizontalAdvance(text), TopCentredOn(row, metrics)));
    }
    return placed;
}

std::vector<PlacedLabel> PlaceFrequencyAxisLabels(const AxisFrame& frame, const QFontMetrics& metrics)
{
    const int top = frame.Page.top() + frame.Page.height() + 2;
    std::vector<PlacedLabel> placed;
    for (const FrequencyAxisLabel& label : FrequencyAxisLabels()) {
        const QString text = QString::fromLatin1(label.Text);
        const int column = frame.Page.left() + frame.X.Pixel(GridPointOf(label.Hz));
        placed.push_back(LabelAt(text, metrics, column - (metrics.horizontalAdvance(text) - 1) / 2, top));
    }
    // Where a wide font brings two labels too close (400 and 500), both give
    // way by half, so neither lands on the other.
    for (std::size_t i = 1; i < placed.size(); ++i) {
        QRect& before = placed[i - 1].Box;
        QRect& after = placed[i].Box;
        const int overlap = before.left() + before.width() + kFrequencyLabelSpacing - after.left();
        if (overlap > 0) {
            before.translate(-(overlap / 2), 0);
            after.translate(overlap - overlap / 2, 0);
        }
    }
    const QString unit = QString::fromLatin1(kFrequencyUnitText);
    const int unitLeft = std::min(frame.Page.left() + frame.Page.width() + kFrequencyUnitGap,
                                  frame.Box.width() - metrics.horizontalAdvance(unit));
    placed.push_back(LabelAt(unit, metrics, unitLeft, top));
    return placed;
}

void PaintDbAxis(QPainter& canvas, const AxisFrame& frame)
{
    DrawAll(canvas, PlaceDbAxisLabels(frame, canvas.fontMetrics()));
}

void PaintFrequencyAxis(QPainter& canvas, const AxisFrame& frame)
{
    DrawAll(canvas, PlaceFrequencyAxisLabels(frame, canvas.fontMetrics()));
}

void PaintRightMargin(QPainter& canvas, QSize boxSize, const QColor& buttonFace)
{
    canvas.fillRect(QRect(QPoint(3, 0), QPoint(boxSize.width() - 1, boxSize.height() - 1)), buttonFace);
}

// --- Fitting --------------------------------------------------------------------

QFont CondensedToFit(const QFont& font, const QStringList& texts, int room)
{
    const int widest = WidestOf(QFontMetrics(font), texts);
    if (widest <= room || widest <= 0)
        return font;
    const int base = font.stretch() > 0 ? font.stretch() : 100;
    if (base <= kNarrowestStretch)
        return font;
    // Start from the proportional guess, then narrow until the metrics agree:
    // hinting does not shrink every advance in proportion.
    int stretch = std::clamp(base * std::max(room, 0) / widest, kNarrowestStretch, base - 1);
    QFont narrow = font;
    for (;;) {
        narrow.setStretch(stretch);
        if (stretch <= kNarrowestStretch || WidestOf(QFontMetrics(narrow), texts) <= room)
            return narrow;
        --stretch;
    }
}

}  // namespace qireq
