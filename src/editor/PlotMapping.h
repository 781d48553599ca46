#pragma once
// Pointer position on the response plot <-> band values, as plain functions.
// X runs in x-units (one point of the 1024-point curve; unit u is the
// frequency 24000^(u / 1024) Hz), Y in dB; the plot's page is W x H pixels.
#include "eq/EqBand.h"

namespace qireq {

// What the mapping needs of the plot: its axis limits and where its plot
// page lies inside the control, in control pixels.
struct PlotGeometry {
    double XMin = 256.0;
    double XMax = 1024.0;
    double YMin = -30.0;
    double YMax = 18.0;
    int PageLeft = 30;
    int PageTop = 0;
    int PageWidth = 749;
    int PageHeight = 201;
};

// The x-units under pointer column x (floating point, not truncated).
double XUnitsAt(const PlotGeometry& plot, int x);

// The slider value under pointer row y: the band gain the pointer stands for
// is its negation. The trim shifts it, since the markers sit at trim + gain.
// The 21-pixel and 8 dB offsets place whole-dB rows so that the pixel row of a
// marker maps back to that marker's gain.
int SliderValueAt(const PlotGeometry& plot, int y, int trim);

// Pick test: a marker (its stored position truncated to whole units) with the
// band's shown gain is under the pointer within 5 x-units and 2 dB.
bool BandUnderPointer(double xUnits, int sliderValue, int markerX, int shownGainDb);

// Where a marker of a band sits on the x axis: 1024 * lg f / lg 24000.
double MarkerXUnits(int freqStep);

// The frequency of an x-unit position: 10^(lg 24000 * u / 1024) Hz.
double FrequencyAtXUnits(double xUnits);

// One drag move of a band to the pointer: an even gain code within +-12 dB
// and the frequency step reached, kept off the ends of the table the way the
// unit expects (below 19 Hz counts as 19.7 Hz, above 20 kHz as 20160 Hz).
struct DragTarget {
    int GainCode;
    int FreqStep;
};
DragTarget DragTargetAt(double xUnits, int sliderValue);

// Applies a drag move to the band. A shelf that would cross 1000 Hz is held:
// its step is stored as 170 and the move is not to be shown or sent (false);
// the gain code is stored either way.
bool ApplyDragMove(EqBand& band, const DragTarget& target);

}  // namespace qireq
