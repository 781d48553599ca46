#include "editor/BandSteps.h"

#include "eq/EqEncoding.h"

namespace qireq {

void CycleBandType(EqBand& band)
{
    band.BandType = (band.BandType + 1) % 3;
    const double hz = FrequencyOf(band.BandFreq);
    if ((band.BandType == kHighShelf && hz < 1000.0) || (band.BandType == kLowShelf && hz > 1000.0))
        band.BandFreq = kShelfStep;
}

bool StepFreqUp(EqBand& band)
{
    if (band.BandFreq < kMaxFreqStep) {
        if (band.BandType == kLowShelf && band.BandFreq == kShelfStep)
            return false;
        ++band.BandFreq;
    }
    return true;
}

bool StepFreqDown(EqBand& band)
{
    if (band.BandFreq > 0) {
        if (band.BandType == kHighShelf && band.BandFreq == kShelfStep)
            return false;
        --band.BandFreq;
    }
    return true;
}

void StepQUp(EqBand& band)
{
    band.BandQ = band.BandQ >= kMaxQStep ? kMaxQStep : band.BandQ + 1;
}

void StepQDown(EqBand& band)
{
    if (band.BandQ > 0)
        --band.BandQ;
}

bool StepTrimUp(int& trim)
{
    if (trim >= kMaxTrim)
        return false;
    ++trim;
    return true;
}

bool StepTrimDown(int& trim)
{
    if (trim <= kMinTrim)
        return false;
    --trim;
    return true;
}

}  // namespace qireq
