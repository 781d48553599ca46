#include "filters/UnitEquivalents.h"
#include "eq/Pi.h"

#include "eq/EqEncoding.h"
#include "filters/ReferenceResponse.h"

#include <algorithm>
#include <cmath>

namespace qireq {

namespace {

constexpr double kButterworthQ = 0.70710678118654752440;

// The frequency whose prewarped value is that of hz times factor.
double WarpedHz(double hz, double factor)
{
    const double k = std::tan(kPi * hz / kReferenceSampleRate) * factor;
    return std::atan(k) * kReferenceSampleRate / kPi;
}

int UnitType(ImportedKind kind)
{
    switch (kind) {
    case ImportedKind::LowShelf:
        return kLowShelf;
    case ImportedKind::HighShelf:
        return kHighShelf;
    default:
        return kPeak;
    }
}

}  // namespace

int WholeDbGain(double db)
{
    if (std::isnan(db))
        return 0;
    return static_cast<int>(std::clamp(std::round(db), -12.0, 12.0));
}

EqBand UnitBand(int type, int freqStep, int qStep, int gainDb)
{
    EqBand band;
    band.BandType = type;
    band.BandFreq = std::clamp(freqStep, 0, kMaxFreqStep);
    band.BandQ = std::clamp(qStep, 0, kMaxQStep);
    const int db = std::clamp(gainDb, -12, 12);
    band.BandGain = NearestGainCode(db);
    band.GainShownDb = db;
    band.BandOff = band.BandOffShown = 0;
    return band;
}

ImportedFilter FilterForUnitBand(const EqBand& band)
{
    const int db = ShownGainDb(band.BandGain);
    const double shift = std::pow(10.0, std::abs(db) / 80.0);
    const double hz = FrequencyOf(band.BandFreq);
    ImportedFilter filter;
    filter.On = band.BandOff == 0;
    filter.GainDb = db;
    switch (band.BandType) {
    case kLowShelf:
        filter.Kind = ImportedKind::LowShelf;
        filter.Hz = WarpedHz(hz, shift);
        break;
    case kHighShelf:
        filter.Kind = ImportedKind::HighShelf;
        filter.Hz = WarpedHz(hz, 1.0 / shift);
        break;
    default:
        filter.Kind = ImportedKind::Peak;
        filter.Hz = hz;
        filter.Q = QOf(band.BandQ) / (shift * shift);
        filter.TypeText = QStringLiteral("PK");
        return filter;
    }
    filter.Width = ShelfWidth::Slope;
    filter.SlopeDb = 12.0;
    filter.TypeText = filter.Kind == ImportedKind::LowShelf ? QStringLiteral("LSC 12 dB")
                                                            : QStringLiteral("HSC 12 dB");
    return filter;
}

EqBand BandForFilter(const ImportedFilter& filter)
{
    const int type = UnitType(filter.Kind);
    const int db = WholeDbGain(filter.GainDb);
    const double shift = std::pow(10.0, std::fabs(filter.GainDb) / 80.0);
    if (type == kPeak)
        return UnitBand(kPeak, NearestFreqStep(filter.Hz), NearestQStep(filter.Q * shift * shift),
                        db);
    const double centre = ReferenceCentreHz(filter);
    const double hz = WarpedHz(centre, type == kLowShelf ? 1.0 / shift : shift);
    const double q = filter.Width == ShelfWidth::Q ? filter.Q : kButterworthQ;
    return UnitBand(type, ShelfFix(type, NearestFreqStep(hz)), NearestQStep(q), db);
}

EqBand SnappedBand(const ImportedFilter& filter)
{
    const int type = UnitType(filter.Kind);
    const double q = filter.Kind == ImportedKind::Peak || filter.Width == ShelfWidth::Q
                         ? filter.Q
                         : kButterworthQ;
    return UnitBand(type, ShelfFix(type, NearestFreqStep(filter.Hz)), NearestQStep(q),
                    WholeDbGain(filter.GainDb));
}

}  // namespace qireq
