#include "controls/PlotLayout.h"

#include <algorithm>

namespace qireq {

namespace {
constexpr int kRightMargin = 30;
// The plot page starts this far left of the control when nothing is shown
// at its left, so that the first label's width brings it into view.
constexpr int kLeftStart = -30;
constexpr int kLabelGap = 4;

QRect Span(int left, int top, int right, int bottom)
{
    // Pages never get a negative size.
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}
}  // namespace

PlotLayoutResult LayOutPlotPages(const PlotLayoutInput& input)
{
    PlotLayoutInput in = input;
    for (;;) {
        int left = kLeftStart;
        int top = 0;
        int bottom = in.Height;
        int titleBottom = in.Height;
        const int right = in.Width - kRightMargin;

        if (in.ShowXLabel)
            bottom -= static_cast<int>(1.2 * in.XLabelHeight);
        if (in.ShowXTitle) {
            bottom -= 2 * in.XTitleHeight;
            titleBottom -= 2 * in.XTitleHeight;
        }
        if (in.ShowYLabel)
            left += in.YLabelWidth + kLabelGap;
        int yTitleWidth = 0;
        if (in.ShowYTitle) {
            yTitleWidth = 2 * in.YTitleHeight;
            left += yTitleWidth;
        }
        if (in.ShowPlotTitle)
            top += 2 * in.PlotTitleHeight;

        const bool roomDown = top < bottom;
        const bool roomAcross = left < right;
        if (!roomDown && (in.ShowPlotTitle || in.ShowXLabel || in.ShowXTitle)) {
            in.ShowPlotTitle = in.ShowXLabel = in.ShowXTitle = false;
            continue;
        }
        if (!roomAcross && (in.ShowYLabel || in.ShowYTitle)) {
            in.ShowYLabel = in.ShowYTitle = false;
            continue;
        }

        PlotLayoutResult out;
        out.ShowXLabel = in.ShowXLabel;
        out.ShowXTitle = in.ShowXTitle;
        out.ShowYLabel = in.ShowYLabel;
        out.ShowYTitle = in.ShowYTitle;
        out.ShowPlotTitle = in.ShowPlotTitle;
        if (roomDown && roomAcross) {
            out.Plot = Span(left, top, right, bottom);
            out.XLabel = Span(left, bottom, right, titleBottom);
            out.XTitle = Span(left, titleBottom, right, in.Height);
            out.YLabel = Span(yTitleWidth, top, left, in.Height);
            out.YTitle = Span(0, top, yTitleWidth, in.Height);
            out.PlotTitle = Span(0, 0, right, top);
        } else {
            // No room even without labels and titles: nothing to draw into.
            out.Plot = QRect(std::max(0, left), 0, 0, 0);
        }
        out.RightMargin = Span(std::max(0, right), 0, in.Width, in.Height);
        return out;
    }
}

}  // namespace qireq
