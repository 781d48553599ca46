// The plot page's background (grid, ticks and axis), drawn once per layout
// and limits and kept, and the title and label pages around it.
#include "controls/Fftdraw.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qireq {

namespace {

// The vertical grid marks 1, 2, ... 10 times every power of ten on the
// spectrum's log axis. The x of frequency f is bins * lg f / lg nyquist:
// half the FFT size in bins spread over 0 Hz .. half the sample rate.
constexpr int kGridDecades = 14;

int BinsOf(TFFTNumber n)
{
    return 128 << static_cast<int>(n);  // 128, 256, 512, 1024
}

double NyquistOf(TSampleRate rate)
{
    return 24000.0 * static_cast<double>(1 << static_cast<int>(rate));  // 24000, 48000, 96000
}

// Grid values of a log axis: every power of ten and `perDecade` evenly
// spaced values inside each decade, over the decades the limits touch.
template <typename Visit>
void ForEachLogGridValue(double lgMin, double lgMax, int perDecade, Visit visit)
{
    if (!std::isfinite(lgMin) || !std::isfinite(lgMax))
        return;
    const double lo = std::floor(std::min(lgMin, lgMax));
    const double hi = std::ceil(std::max(lgMin, lgMax));
    for (double d = lo; d <= hi; d += 1.0) {
        const double decade = std::pow(10.0, d);
        visit(decade);
        if (d < hi) {
            const double stepValue = (decade * 10.0 - decade) / (perDecade + 1);
            for (int j = 1; j <= perDecade; ++j)
                visit(decade + j * stepValue);
        }
    }
}

double LgLimit(double value, double fallback)
{
    return value > 0.0 ? std::log10(value) : fallback;
}

}  // namespace

bool TFFTDraw::BackgroundKey::operator==(const BackgroundKey& o) const
{
    return Size == o.Size && Scale == o.Scale && XMin == o.XMin && XMax == o.XMax && YMin == o.YMin &&
           YMax == o.YMax && XFormat == o.XFormat && YFormat == o.YFormat && Color == o.Color &&
           GridColor == o.GridColor && AxisColor == o.AxisColor && AxisStyle == o.AxisStyle &&
           VertGrid == o.VertGrid && HorzGrid == o.HorzGrid && VertTicks == o.VertTicks &&
           HorzTicks == o.HorzTicks && VertTickLength == o.VertTickLength &&
           HorzTickLength == o.HorzTickLength && NumVertGrid == o.NumVertGrid && NumHorzGrid == o.NumHorzGrid &&
           FFTNumber == o.FFTNumber && SampleRate == o.SampleRate;
}

TFFTDraw::BackgroundKey TFFTDraw::CurrentBackgroundKey() const
{
    const auto& page = pages_[static_cast<std::size_t>(Page::Plot)];
    BackgroundKey key;
    key.Size = page.Dest.size();
    key.Scale = page.Bitmap.devicePixelRatio();
    key.XMin = xMin_;
    key.XMax = xMax_;
    key.YMin = yMin_;
    key.YMax = yMax_;
    key.XFormat = xAxisFormat_;
    key.YFormat = yAxisFormat_;
    key.Color = color_;
    key.GridColor = gridColor_;
    key.AxisColor = axisColor_;
    key.AxisStyle = axisStyle_;
    key.VertGrid = showVertGrid_;
    key.HorzGrid = showHorzGrid_;
    key.VertTicks = showVertTicks_;
    key.HorzTicks = showHorzTicks_;
    key.VertTickLength = vertTickLength_;
    key.HorzTickLength = horzTickLength_;
    key.NumVertGrid = numVertGrid_;
    key.NumHorzGrid = numHorzGrid_;
    key.FFTNumber = fftNumber_;
    key.SampleRate = sampleRate_;
    return key;
}

void TFFTDraw::DrawBackground(QImage& image, QSize size) const
{
    image.fill(color_);
    const int w = size.width();
    const int h = size.height();
    const AxisMapping xMap = AxisMapping::X(xMin_, xMax_, xAxisFormat_, w);
    const AxisMapping yMap = AxisMapping::Y(yMin_, yMax_, yAxisFormat_, h);
    // The places of the grid lines, shared by grid and ticks.
    std::vector<int> rows;
    if (yAxisFormat_ == TAxisFormat::Linear) {
        for (int k = 1; k <= numHorzGrid_; ++k)
            rows.push_back(yMap.Pixel(yMin_ + k * (yMax_ - yMin_) / (numHorzGrid_ + 1)));
    } else {
        ForEachLogGridValue(LgLimit(yMin_, -1.0), LgLimit(yMax_, 1.0), numHorzGrid_,
                            [&](double v) { rows.push_back(yMap.Pixel(v)); });
    }
    std::vector<int> columns;
    if (xAxisFormat_ == TAxisFormat::Linear) {
        const double bins = BinsOf(fftNumber_);
        const double lgNyquist = std::log10(NyquistOf(sampleRate_));
        for (int d = 1; d <= kGridDecades; ++d) {
            for (int m = 1; m <= 10; ++m)
                columns.push_back(xMap.Pixel(bins * std::log10(m * std::pow(10.0, d)) / lgNyquist));
        }
    } else {
        ForEachLogGridValue(LgLimit(xMin_, -1.0), LgLimit(xMax_, 1.0), numVertGrid_,
                            [&](double v) { columns.push_back(xMap.Pixel(v)); });
    }
    const auto onPage = [](int p, int extent) { return p >= 0 && p < extent; };

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Grid.
    painter.setPen(QPen(gridColor_, 1));
    if (showHorzGrid_) {
        for (int row : rows) {
            if (onPage(row, h))
                painter.drawLine(0, row, w - 1, row);
        }
    }
    if (showVertGrid_) {
        for (int column : columns) {
            if (onPage(column, w))
                painter.drawLine(column, 0, column, h - 1);
        }
    }

    // Ticks along the left and the bottom edge.
    painter.setPen(QPen(axisColor_, 1));
    if (showHorzTicks_ && horzTickLength_ > 0) {
        for (int row : rows) {
            if (onPage(row, h))
                painter.drawLine(0, row, horzTickLength_ - 1, row);
        }
    }
    const int vertTick = xAxisFormat_ == TAxisFormat::Linear ? vertTickLength_ + 2 : vertTickLength_;
    if (showVertTicks_ && vertTick > 0) {
        for (int column : columns) {
            if (onPage(column, w))
                painter.drawLine(column, h - 1, column, h - vertTick);
        }
    }

    // Axis: frame and/or zero lines.
    painter.setBrush(Qt::NoBrush);
    const bool box = axisStyle_ == TAxisStyle::Box || axisStyle_ == TAxisStyle::CenteredBox;
    const bool centered = axisStyle_ == TAxisStyle::Centered || axisStyle_ == TAxisStyle::CenteredBox;
    if (box)
        painter.drawRect(0, 0, w - 1, h - 1);
    if (centered) {
        if (yMax_ != yMin_) {
            const int row = yMap.Pixel(0.0);
            if (onPage(row, h))
                painter.drawLine(0, row, w - 1, row);
        }
        if (xMax_ != xMin_) {
            const int column = xMap.Pixel(0.0);
            if (onPage(column, w))
                painter.drawLine(column, 0, column, h - 1);
        }
    }
    if (axisStyle_ == TAxisStyle::LB) {
        painter.drawLine(0, 0, 0, h - 1);
        painter.drawLine(0, h - 1, w - 1, h - 1);
    }

}

void TFFTDraw::DrawTitlePages() const
{
    titlesStale_ = false;
    for (Page page : {Page::XLabel, Page::YLabel, Page::XTitle, Page::YTitle, Page::YTitleScratch,
                      Page::PlotTitle, Page::RightMargin, Page::MouseCoord})
        ClearPage(page);

    const auto drawCentered = [](TPaintPage& page, const TPlotFont& font, const QString& text) {
        if (page.Bitmap.isNull())
            return;
        QPainter painter(&page.Bitmap);
        painter.setFont(font.Font);
        painter.setPen(font.Color);
        painter.drawText(QRect(QPoint(0, 0), page.Dest.size()), Qt::AlignCenter, text);
    };
    if (showPlotTitle_)
        drawCentered(pages_[static_cast<std::size_t>(Page::PlotTitle)], plotTitleFont_, plotTitle_);
    if (showXTitle_)
        drawCentered(pages_[static_cast<std::size_t>(Page::XTitle)], axisTitleFont_, xTitle_);
    if (showYTitle_) {
        // The y title is written across on the scratch page and turned up
        // onto its own page.
        auto& scratch = pages_[static_cast<std::size_t>(Page::YTitleScratch)];
        auto& title = pages_[static_cast<std::size_t>(Page::YTitle)];
        drawCentered(scratch, axisTitleFont_, yTitle_);
        if (!scratch.Bitmap.isNull() && !title.Bitmap.isNull()) {
            QPainter painter(&title.Bitmap);
            painter.translate(0, title.Dest.height());
            painter.rotate(-90.0);
            painter.drawImage(QPoint(0, 0), scratch.Bitmap);
        }
    }
    // The label pages stay blank: the owner paints its own scales.
    shownStale_ = true;
}

}  // namespace qireq
