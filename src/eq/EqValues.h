#pragma once
// Values typed or read in Hz, Q and dB onto the unit's steps and codes, and
// the band types' words: one home for the filter import, qireq-ctl and the
// window. Gain code to dB is GainDbOf (EqEncoding.h).
//
// A drag on the plot does not take the nearest step: it takes the upper end
// of the table interval under the pointer (HzToStep, EqEncoding.h), the rule
// the window's drag has always had, so a drag keeps reaching the same steps
// and sends the same frames. A typed or imported value follows no pointer
// and takes the nearest step.
#include <QString>

#include <optional>

namespace qireq {

// The table step nearest on a logarithmic axis; of equal distances (equal
// table values) the lower step. A value not above 0, or NaN, gives step 0.
int NearestFreqStep(double hz);
int NearestQStep(double q);

// The nearest half-dB gain code (code = 24 - 2 * dB), halves rounded away
// from 0 dB, limited to 0..48.
int NearestGainCode(double db);

// "peak", "low-shelf", "high-shelf": qireq-ctl's words for the type index.
QString BandTypeWord(int typeIndex);
// The word back to the type index, any case, blanks around ignored.
std::optional<int> BandTypeOfWord(const QString& word);

}  // namespace qireq
