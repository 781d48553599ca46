#include "report/ReportWriter.h"

#include "state/ApplicationTitle.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace qireq {

namespace {

QString CannotCreate(const QString& path)
{
    return QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path));
}

QImage PlotPicture(const EqState& eq, bool connected, const PlotRange& range)
{
    QImage picture(kReportPlotWidth, kReportPlotHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(kReportDpi / 0.0254 + 0.5);
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&picture);
    PaintResponseForPrint(painter, QRectF(picture.rect()), eq, connected, range);
    return picture;
}

// One A4 page: title, facts, trim and bypass, the band table, the plot, the
// note; for a unit that was not read, the reason in place of its EQ.
void PaintPage(QPainter& painter, QPdfWriter& writer, const ReportContent& content, const EqState& eq,
               bool connected, const PlotRange& range)
{
    const double width = writer.width();
    const double dot = writer.resolution() / 72.0;  // device units per point
    double top = 0;

    QFont title = painter.font();
    title.setFamily(QStringLiteral("Sans Serif"));
    title.setPointSizeF(18);
    title.setBold(true);
    QFont body = title;
    body.setPointSizeF(10.5);
    body.setBold(false);
    QFont bold = body;
    bold.setBold(true);

    painter.setFont(title);
    const double titleHeight = QFontMetricsF(title, &writer).height();
    painter.drawText(QRectF(0, top, width, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Commissioning report"));
    painter.setFont(body);
    painter.drawText(QRectF(0, top, width, titleHeight), Qt::AlignRight | Qt::AlignVCenter, ApplicationTitle());
    top += titleHeight + 10 * dot;
    painter.setPen(QPen(Qt::black, dot));
    painter.drawLine(QPointF(0, top), QPointF(width, top));
    top += 8 * dot;

    const double row = QFontMetricsF(body, &writer).height() * 1.35;
    const double valueLeft = width * 0.3;
    auto pair = [&](const QString& label, const QString& value) {
        painter.setFont(bold);
        painter.drawText(QRectF(0, top, valueLeft, row), Qt::AlignLeft | Qt::AlignVCenter, label);
        painter.setFont(body);
        painter.drawText(QRectF(valueLeft, top, width - valueLeft, row), Qt::AlignLeft | Qt::AlignVCenter, value);
        top += row;
    };
    for (const auto& [label, value] : content.Facts)
        pair(label, value);
    // The free text the user wrote, under a heading, to the foot of the page.
    auto paintNote = [&] {
        if (content.Note.isEmpty())
            return;
        painter.setFont(bold);
        painter.drawText(QRectF(0, top, width, row), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Note"));
        top += row;
        painter.setFont(body);
        painter.drawText(QRectF(0, top, width, writer.height() - top), Qt::TextWordWrap, content.Note);
    };
    if (!content.Failure.isEmpty()) {
        top += row * 0.5;
        painter.setFont(bold);
        painter.drawText(QRectF(0, top, width, row), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Not read"));
        top += row;
        painter.setFont(body);
        const QRectF reason(0, top, width, row * 4);
        painter.drawText(reason, Qt::TextWordWrap, content.Failure);
        top += row * 4;
        paintNote();
        return;
    }
    pair(QStringLiteral("Trim"), content.Trim);
    pair(QStringLiteral("Bypass"), content.Bypass);
    top += row * 0.5;

    // The band table.
    const QStringList headers{QStringLiteral("Band"), QStringLiteral("Type"), QStringLiteral("Frequency"),
                              QStringLiteral("Q"), QStringLiteral("Gain"), QStringLiteral("On/Off")};
    const double columns[] = {0.0, 0.1, 0.32, 0.54, 0.7, 0.86, 1.0};
    auto cells = [&](const QStringList& texts, const QFont& font) {
        painter.setFont(font);
        for (int c = 0; c < texts.size(); ++c)
            painter.drawText(QRectF(width * columns[c] + 4 * dot, top, width * (columns[c + 1] - columns[c]), row),
                             Qt::AlignLeft | Qt::AlignVCenter, texts[c]);
        top += row;
        painter.drawLine(QPointF(0, top), QPointF(width, top));
    };
    painter.drawLine(QPointF(0, top), QPointF(width, top));
    cells(headers, bold);
    for (const ReportBandRow& band : content.Bands)
        cells({band.Band, band.Type, band.Frequency, band.Q, band.Gain, band.OnOff}, body);
    top += row;

    // The plot, drawn on the page itself.
    const double plotHeight = width * kReportPlotHeight / kReportPlotWidth;
    PaintResponseForPrint(painter, QRectF(0, top, width, plotHeight), eq, connected, range);
    top += plotHeight + row;

    paintNote();
}

// The pages into pdfName under a temporary name; false when it could not be
// written (nothing then stands under the name but what stood there before).
bool WritePdf(const QString& pdfName, const std::vector<ReportPage>& pages, const PlotRange& range)
{
    QSaveFile pdf(pdfName);
    if (!pdf.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(kReportDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Commissioning report"));
        writer.setCreator(ApplicationTitle());
        QPainter painter(&writer);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0)
                writer.newPage();
            PaintPage(painter, writer, pages[i].Content, pages[i].Eq, pages[i].Content.FromLiveUnit, range);
        }
    }
    return pdf.commit();
}

}  // namespace

QString WriteReport(const QString& pdfName, const ReportContent& content, const EqState& eq, bool connected,
                    const PlotRange& range)
{
    const QString pngName = ReportPngName(pdfName);

    QSaveFile png(pngName);
    if (!png.open(QIODevice::WriteOnly) || !PlotPicture(eq, connected, range).save(&png, "PNG"))
        return CannotCreate(pngName);

    if (!WritePdf(pdfName, {ReportPage{content, eq}}, range))
        return CannotCreate(pdfName);
    if (!png.commit()) {
        // The pair goes together: no report without its picture.
        QFile::remove(pdfName);
        return CannotCreate(pngName);
    }
    return QString();
}

QString WriteReportPages(const QString& pdfName, const std::vector<ReportPage>& pages, const PlotRange& range)
{
    return WritePdf(pdfName, pages, range) ? QString() : CannotCreate(pdfName);
}

}  // namespace qireq
