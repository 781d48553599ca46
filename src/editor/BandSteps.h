#pragma once
// The step rules of the band buttons and the trim buttons, on the model only.
// Each returns whether the band (or trim) is to be sent or shown afterwards:
// a step held at a limit still counts, a step stopped by the shelf rule or
// by the trim limits does not.
#include "eq/EqBand.h"

namespace qireq {

// "Peak" -> "Low Shelf" -> "High Shelf" -> "Peak"; a shelf that lands on the
// wrong side of 1000 Hz moves to 1000 Hz.
void CycleBandType(EqBand& band);

// One frequency step up or down. A shelf sitting at 1000 Hz does not cross
// it (returns false, nothing changed); at steps 300 and 0 the value stays
// but the band still counts as changed.
bool StepFreqUp(EqBand& band);
bool StepFreqDown(EqBand& band);

// One Q step; held at 100 and 0.
void StepQUp(EqBand& band);
void StepQDown(EqBand& band);

// One trim step of 1 dB; false (and no change) at 0 dB up or -18 dB down.
bool StepTrimUp(int& trim);
bool StepTrimDown(int& trim);

}  // namespace qireq
