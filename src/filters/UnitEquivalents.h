#pragma once
// Between the unit's bands and the cookbook filters of the tools.
//
// The unit's "Peak" at Q q and gain G is exactly the cookbook peaking
// filter at the same frequency with Q q / 10^(|G| / 40). Its shelves (poles
// and zeros both Butterworth, the poles at the band's frequency for a boost)
// are exactly cookbook shelves of slope S = 1 (12 dB, Q 1/sqrt(2)) whose
// centre lies 10^(|G| / 80) away on the prewarped axis: tan(pi fc / 48000) =
// tan(pi f / 48000) * 10^(+-|G| / 80), up for a low shelf, down for a high one.
#include "eq/EqBand.h"
#include "eq/EqValues.h"
#include "filters/ImportedFilter.h"

namespace qireq {

// Whole dB, -12..12.
int WholeDbGain(double db);

// A band of the unit on: type index, frequency step, Q step, whole-dB gain
// (even gain code, and the shown gain the response is drawn with).
EqBand UnitBand(int type, int freqStep, int qStep, int gainDb);

// The filter Equalizer APO applies for a band of the unit: the same
// response. Peaks keep the table frequency; shelves are "LSC 12 dB" /
// "HSC 12 dB" at the centre above.
ImportedFilter FilterForUnitBand(const EqBand& band);

// The reverse as a first guess: the unit band nearest to a filter by the
// relations above, on the unit's steps and on its side of 1000 Hz.
EqBand BandForFilter(const ImportedFilter& filter);

// What a plain importer does: frequency, Q and gain each to the nearest
// step as the text gives them, shelves to the unit's shelves of the same
// frequency.
EqBand SnappedBand(const ImportedFilter& filter);

}  // namespace qireq
