// The curves on the plot page and the band markers ("blocks") over it.
#include "controls/Fftdraw.h"

#include "controls/VclColors.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <cstring>

namespace qireq {

namespace {

// A block is a 16-pixel disc around its point with its number at (-4, -6).
constexpr int kBlockRadius = 8;
constexpr QPoint kBlockNumberOffset{-4, -6};

// How far outside the page a point may lie and still be drawn to: beyond
// this it is only moved to, which keeps stray values from costing time.
constexpr double kFarLeftPages = 2.0;
constexpr double kFarRightPages = 3.0;
constexpr double kFarAbovePages = 2.0;
constexpr double kFarBelowPages = 3.0;

}  // namespace

void TFFTDraw::DrawAllPlots() const
{
    plotStale_ = false;
    shownStale_ = true;
    auto& page = pages_[static_cast<std::size_t>(Page::Plot)];
    if (page.Bitmap.isNull())
        return;
    ++plotPageDraws_;

    // Grid, ticks and axis change far less often than the curve: they are
    // kept in a picture of their own and drawn only when one of their
    // inputs has changed.
    const BackgroundKey key = CurrentBackgroundKey();
    if (background_.isNull() || !(backgroundKey_ == key)) {
        backgroundKey_ = key;
        background_ = QImage(page.Bitmap.size(), page.Bitmap.format());
        background_.setDevicePixelRatio(page.Bitmap.devicePixelRatio());
        DrawBackground(background_, page.Dest.size());
    }
    // A plain copy of the pixels into the page's own buffer.
    if (page.Bitmap.size() == background_.size() && page.Bitmap.format() == background_.format())
        std::memcpy(page.Bitmap.bits(), background_.constBits(), static_cast<std::size_t>(background_.sizeInBytes()));
    else
        page.Bitmap = background_.copy();
    DrawCurves(page.Bitmap, page.Dest.size());
}

void TFFTDraw::DrawCurves(QImage& image, QSize size) const
{
    const int w = size.width();
    const int h = size.height();
    const AxisMapping xMap = AxisMapping::X(xMin_, xMax_, xAxisFormat_, w);
    const AxisMapping yMap = AxisMapping::Y(yMin_, yMax_, yAxisFormat_, h);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Curves, newest first.
    const double farLeft = -kFarLeftPages * w;
    const double farRight = w + kFarRightPages * w;
    const double farAbove = -kFarAbovePages * h;
    const double farBelow = h + kFarBelowPages * h;
    QPolygon run;
    run.reserve(1024);
    for (const auto& member : plots_) {
        const bool line = member.Style == TPlotStyle::Line || member.Style == TPlotStyle::LineFilledSquares ||
                          member.Style == TPlotStyle::LineHollowSquares;
        const bool squares = member.Style != TPlotStyle::Line;
        const bool filled =
            member.Style == TPlotStyle::FilledSquares || member.Style == TPlotStyle::LineFilledSquares;
        painter.setPen(QPen(member.Color, 1));
        painter.setBrush(filled ? member.Color : color_);
        const int reach = pointSize_;

        run.clear();
        const auto flush = [&]() {
            if (line && run.size() > 1)
                painter.drawPolyline(run);
            run.clear();
        };
        for (int i = 0; i < member.NumPoints; ++i) {
            const double ex = xMap.Exact(member.X[static_cast<std::size_t>(i)]);
            const double ey = yMap.Exact(member.Y[static_cast<std::size_t>(i)]);
            if (!std::isfinite(ex) || !std::isfinite(ey)) {
                // A value without a place breaks the line.
                flush();
                continue;
            }
            const QPoint p(TruncToInt(ex), TruncToInt(ey));
            const bool far = ex < farLeft || ex > farRight || ey < farAbove || ey > farBelow;
            if (far) {
                // Only moved to: the line picks up from here at the next point.
                flush();
                run.append(p);
                continue;
            }
            if (!squares) {
                run.append(p);
                continue;
            }
            // Squares sit on top of the line into their point, and the line
            // to the next point leaves from the point again.
            if (line && !run.isEmpty()) {
                painter.drawLine(run.back(), p);
                run.clear();
            }
            painter.drawRect(p.x() - reach, p.y() - reach, 2 * reach - 1, 2 * reach - 1);
            run.append(p);
        }
        flush();
    }
}

void TFFTDraw::ComposeShownPage() const
{
    shownStale_ = false;
    const auto& page = pages_[static_cast<std::size_t>(Page::Plot)];
    shownPlotPage_ = page.Bitmap.copy();
    if (shownPlotPage_.isNull())
        return;
    shownPlotPage_.setDevicePixelRatio(page.Bitmap.devicePixelRatio());

    PrepareBlockSprites();
    const AxisMapping xMap = AxisMapping::X(xMin_, xMax_, xAxisFormat_, page.Dest.width());
    const AxisMapping yMap = AxisMapping::Y(yMin_, yMax_, yAxisFormat_, page.Dest.height());
    QPainter painter(&shownPlotPage_);
    for (int i = 0; i < kPaintedBlocks; ++i) {
        const auto& block = blocks_[static_cast<std::size_t>(i)];
        if (block.Hidden)
            continue;
        const QPoint at(xMap.Pixel(block.X), yMap.Pixel(block.Y));
        painter.drawImage(at + spriteOrigin_, blockSprites_[static_cast<std::size_t>(i)]);
    }
}

void TFFTDraw::PrepareBlockSprites() const
{
    const qreal scale = PageScale();
    if (spriteScale_ == scale && spriteFont_ == font() && !blockSprites_[0].isNull())
        return;
    spriteScale_ = scale;
    spriteFont_ = font();

    // The sprite holds the disc and the number, placed relative to the
    // block's point; the number may reach past the disc in a large font.
    const QFontMetrics metrics(spriteFont_);
    const QRect disc(-kBlockRadius, -kBlockRadius, 2 * kBlockRadius, 2 * kBlockRadius);
    const QRect number(kBlockNumberOffset, QSize(metrics.horizontalAdvance(QStringLiteral("5")) + 2,
                                                 metrics.height()));
    const QRect bounds = disc.united(number);
    spriteOrigin_ = bounds.topLeft();

    for (int i = 0; i < kPaintedBlocks; ++i) {
        QImage sprite(bounds.size() * scale, QImage::Format_ARGB32_Premultiplied);
        sprite.setDevicePixelRatio(scale);
        sprite.fill(Qt::transparent);
        QPainter painter(&sprite);
        painter.translate(-bounds.topLeft());
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(clBlack, 1));
        painter.setBrush(clBlack);
        painter.drawEllipse(QRectF(disc).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setFont(spriteFont_);
        painter.setPen(clWhite);
        painter.drawText(QRect(kBlockNumberOffset, number.size()), Qt::AlignLeft | Qt::AlignTop,
                         QString::number(i + 1));
        blockSprites_[static_cast<std::size_t>(i)] = sprite;
    }
}

}  // namespace qireq
