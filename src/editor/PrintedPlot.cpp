#include "editor/PrintedPlot.h"

#include "controls/Fftdraw.h"
#include "editor/ScalePainting.h"
#include "eq/BandResponse.h"
#include "eq/ResponseCurves.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace qireq {

namespace {

const QColor kGrid(200, 200, 200);
const QColor kFrame(60, 60, 60);
const QColor kCurve(0, 70, 160);
const QColor kMarker(200, 60, 0);

}  // namespace

PlotRange RangeOf(const TFFTDraw& plot)
{
    return PlotRange{plot.XMin(), plot.XMax(), plot.YMin(), plot.YMax()};
}

void PaintResponseForPrint(QPainter& painter, const QRectF& area, const EqState& eq, bool connected,
                           const PlotRange& range)
{
    if (range.XMax <= range.XMin || range.YMax <= range.YMin || area.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    QFont font = painter.font();
    font.setPixelSize(std::max(6, static_cast<int>(area.height() / 26)));
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double labelWidth = metrics.horizontalAdvance(QStringLiteral("+18")) + metrics.height() * 0.6;
    const QRectF page = area.adjusted(labelWidth, metrics.height() * 1.6, -metrics.height(),
                                      -metrics.height() * 2.2);
    const auto x = [&](double units) {
        return page.left() + (units - range.XMin) / (range.XMax - range.XMin) * page.width();
    };
    const auto y = [&](double db) {
        return page.bottom() - (db - range.YMin) / (range.YMax - range.YMin) * page.height();
    };
    const double line = std::max(1.0, area.height() / 400.0);

    // Grid and labels: every labelled frequency and every 3 dB.
    painter.setPen(QPen(kGrid, line * 0.6));
    for (const FrequencyAxisLabel& label : FrequencyAxisLabels()) {
        const double at = x(GridPointOf(label.Hz));
        if (at < page.left() - 0.5 || at > page.right() + 0.5)
            continue;
        painter.drawLine(QPointF(at, page.top()), QPointF(at, page.bottom()));
    }
    for (const DbAxisLabel& label : DbAxisLabels()) {
        if (label.Db < range.YMin || label.Db > range.YMax)
            continue;
        painter.setPen(QPen(label.Db == 0 ? kFrame : kGrid, line * (label.Db == 0 ? 0.9 : 0.6)));
        painter.drawLine(QPointF(page.left(), y(label.Db)), QPointF(page.right(), y(label.Db)));
    }
    painter.setPen(QPen(kFrame, line));
    painter.drawRect(page);
    // A label that would run into the one before it is left out.
    double labelsEnd = -1e9;
    for (const FrequencyAxisLabel& label : FrequencyAxisLabels()) {
        const double at = x(GridPointOf(label.Hz));
        if (at < page.left() - 0.5 || at > page.right() + 0.5)
            continue;
        const QString text = QString::fromLatin1(label.Text);
        const double width = metrics.horizontalAdvance(text);
        if (at - width / 2 < labelsEnd + metrics.height() * 0.3)
            continue;
        painter.drawText(QPointF(at - width / 2, page.bottom() + metrics.height() * 1.1), text);
        labelsEnd = at + width / 2;
    }
    painter.drawText(QPointF(page.right() - metrics.horizontalAdvance(QLatin1String(kFrequencyUnitText)),
                             page.bottom() + metrics.height() * 2.1),
                     QString::fromLatin1(kFrequencyUnitText));
    for (const DbAxisLabel& label : DbAxisLabels()) {
        if (label.Db < range.YMin || label.Db > range.YMax || label.Db % 6 != 0)
            continue;
        const QString text = QString::fromLatin1(label.Text);
        painter.drawText(QPointF(page.left() - metrics.horizontalAdvance(text) - metrics.height() * 0.3,
                                 y(label.Db) + metrics.ascent() / 2 - 1),
                         text);
    }
    painter.drawText(QPointF(area.left(), area.top() + metrics.ascent()), QStringLiteral("(dB)"));

    // The curve: the five bands as the editor shows them, plus trim.
    ResponseCurves curves;
    for (int n = 1; n <= kBandCount; ++n)
        RefreshBandCurve(curves, n, eq.Bands[static_cast<std::size_t>(n - 1)], connected);
    RebuildSum(curves, eq.Trim);
    QPainterPath path;
    for (int i = 0; i < kResponsePoints; ++i) {
        const QPointF point(x(i), y(std::clamp(curves.Sum()[static_cast<std::size_t>(i)], range.YMin, range.YMax)));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    painter.setClipRect(page);
    painter.setPen(QPen(kCurve, line * 2.2));
    painter.drawPath(path);

    // The markers, numbered as the bands.
    const double radius = metrics.height() * 0.55;
    for (const BandMarker& marker : BandMarkers(eq, connected)) {
        if (marker.Hidden)
            continue;
        const QPointF centre(x(marker.X), y(marker.Y));
        painter.setPen(QPen(kMarker, line));
        painter.setBrush(Qt::white);
        painter.drawEllipse(centre, radius, radius);
        const QString number = QString::number(marker.BandIndex + 1);
        painter.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                         Qt::AlignCenter, number);
    }
    painter.restore();
}

}  // namespace qireq
