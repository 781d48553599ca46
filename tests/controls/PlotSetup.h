#pragma once
// The response plot as the main window sets it up, at its size in the window.
#include "controls/Fftdraw.h"
#include "editor/PlotInteraction.h"

namespace qireq::test {

inline void SetUpLikeResponsePlot(TFFTDraw& plot)
{
    SetUpPlot(plot);
    plot.resize(809, 201);
}

}  // namespace qireq::test
