#pragma once
// Where the pages of the plot control go for a given size, label and title
// set-up: the plot page, the label pages below and left of it, the title
// pages and the right margin. Text sizes come in measured, so the rule is
// plain arithmetic.
#include "controls/FloatText.h"

#include <QRect>

namespace qireq {

struct PlotLayoutInput {
    int Width = 0;
    int Height = 0;
    bool ShowXLabel = false;
    bool ShowXTitle = false;
    bool ShowYLabel = false;
    bool ShowYTitle = false;
    bool ShowPlotTitle = false;
    int XLabelHeight = 0;     // text height of an X label (axis label font)
    int XTitleHeight = 0;     // text height of the X title (axis title font)
    int YLabelWidth = 0;      // widest Y label (axis label font)
    int YTitleHeight = 0;     // text height of the Y title (axis title font)
    int PlotTitleHeight = 0;  // text height of the plot title (plot title font)
};

struct PlotLayoutResult {
    QRect Plot;
    QRect XLabel;
    QRect XTitle;
    QRect YLabel;
    QRect YTitle;
    QRect PlotTitle;
    QRect RightMargin;
    // The switches as they end up: labels and titles that did not fit are off.
    bool ShowXLabel = false;
    bool ShowXTitle = false;
    bool ShowYLabel = false;
    bool ShowYTitle = false;
    bool ShowPlotTitle = false;
};

// Lays the pages out. When the labels and titles leave no room, they are
// switched off (first those above and below, then those at the left) and the
// layout runs again; with no room at all the plot page is empty.
PlotLayoutResult LayOutPlotPages(const PlotLayoutInput& input);

}  // namespace qireq
