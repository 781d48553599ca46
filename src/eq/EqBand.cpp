#include "eq/EqBand.h"

#include <algorithm>

namespace qireq {

EqBand StartupBand(int bandNumber)
{
    // Bands outside 1..5 get the nearest real band's start-up value.
    const int number = std::clamp(bandNumber, 1, kBandCount);
    EqBand band;
    band.BandType = kPeak;
    band.BandFreq = 50 * (number - 1);
    band.BandQ = 35;  // Q 3.0
    band.BandGain = kFlatGainCode;
    band.BandOff = 0;
    band.BandOffShown = 0;
    return band;
}

}  // namespace qireq
