#include "filters/FilterImport.h"

#include "eq/EqEncoding.h"
#include "eq/ResponseCurves.h"
#include "filters/BandFitter.h"
#include "filters/ReferenceResponse.h"
#include "filters/UnitEquivalents.h"
#include "presets/PresetRecord.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace qireq {

namespace {

// A unit note stands for its filter line when the two responses agree to
// well below what the export's printed digits can move them.
constexpr double kNoteToleranceDb = 0.02;
// A band stands for a filter when their curves are this much alike (cosine).
constexpr double kStandsForSimilarity = 0.5;
constexpr double kNoGainDb = 0.005;

// The band a reset leaves in slot b: a flat "Peak" at step 50 b, Q step 0.
EqBand UnusedBand(int slot)
{
    return UnitBand(kPeak, 50 * slot, 0, 0);
}

bool IsFlat(const EqBand& band)
{
    return band.BandOff == 0 && ShownGainDb(band.BandGain) == 0;
}

bool SameKind(ImportedKind kind, int type)
{
    return (kind == ImportedKind::Peak && type == kPeak) ||
           (kind == ImportedKind::LowShelf && type == kLowShelf) ||
           (kind == ImportedKind::HighShelf && type == kHighShelf);
}

// The filters' own numbers as band places, when they are five or fewer,
// distinct and 1..5; otherwise nothing.
std::vector<int> SlotsByNumber(const std::vector<ImportedFilter>& filters,
                               const std::vector<int>& which)
{
    std::vector<int> places;
    std::set<int> seen;
    for (const int i : which) {
        const int number = filters[static_cast<std::size_t>(i)].Number;
        if (number < 1 || number > kBandCount || !seen.insert(number).second)
            return {};
        places.push_back(number - 1);
    }
    return places;
}

// Band values straight from the export's notes, when every filter of the
// text has one that matches it. Otherwise the reason they were not used
// (empty when there were no notes).
bool BandsFromNotes(const FilterSet& set, BandSet& bands, QString& whyNot)
{
    if (set.UnitNotes.empty())
        return false;
    whyNot = QStringLiteral("the unit values noted in the text were not used: ");
    std::vector<int> all(set.Filters.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    if (set.Filters.empty() || SlotsByNumber(set.Filters, all).empty()) {
        whyNot += QStringLiteral("the filters are not numbered 1 to 5");
        return false;
    }
    for (int b = 0; b < kBandCount; ++b)
        bands[static_cast<std::size_t>(b)] = UnusedBand(b);
    for (const ImportedFilter& filter : set.Filters) {
        const auto note = std::find_if(set.UnitNotes.begin(), set.UnitNotes.end(),
                                       [&](const UnitBandNote& n) { return n.BandNumber == filter.Number; });
        if (note == set.UnitNotes.end()) {
            whyNot += QStringLiteral("line %1 has none").arg(filter.Line);
            return false;
        }
        const EqBand& band = note->Band;
        ImportedFilter on = filter;
        on.On = true;
        const bool matches = SameKind(filter.Kind, band.BandType) &&
                             ShelfFix(band.BandType, band.BandFreq) == band.BandFreq &&
                             DifferenceOf(ReferenceResponse(on), BandCurve(band, false)).MaxDb <=
                                 kNoteToleranceDb;
        if (!matches) {
            whyNot += QStringLiteral("line %1 does not match the filter of line %2")
                          .arg(note->Line)
                          .arg(filter.Line);
            return false;
        }
        EqBand placed = band;
        placed.BandOff = placed.BandOffShown = filter.On ? 0 : 1;
        bands[static_cast<std::size_t>(filter.Number - 1)] = placed;
    }
    whyNot.clear();
    return true;
}

// Fits the ON filters; returns the bands and the filters fitted (by index).
BandSet FitFilters(const FilterSet& set, const ResponseArray& reference, std::vector<int>& active)
{
    for (std::size_t i = 0; i < set.Filters.size(); ++i) {
        const ImportedFilter& f = set.Filters[i];
        if (f.On && std::fabs(f.GainDb) >= kNoGainDb)
            active.push_back(static_cast<int>(i));
    }
    // The largest gains first: the plain import to compare with takes five.
    std::vector<int> byGain = active;
    std::stable_sort(byGain.begin(), byGain.end(), [&](int a, int b) {
        return std::fabs(set.Filters[static_cast<std::size_t>(a)].GainDb) >
               std::fabs(set.Filters[static_cast<std::size_t>(b)].GainDb);
    });
    BandSet plain;
    for (int b = 0; b < kBandCount; ++b)
        plain[static_cast<std::size_t>(b)] =
            b < static_cast<int>(byGain.size())
                ? SnappedBand(set.Filters[static_cast<std::size_t>(byGain[static_cast<std::size_t>(b)])])
                : UnusedBand(b);

    std::vector<EqBand> guesses;
    if (active.size() <= static_cast<std::size_t>(kBandCount)) {
        std::vector<int> places = SlotsByNumber(set.Filters, active);
        if (places.empty())
            for (std::size_t k = 0; k < active.size(); ++k)
                places.push_back(static_cast<int>(k));
        guesses.assign(kBandCount, UnitBand(kPeak, 0, 0, 0));
        for (std::size_t k = 0; k < active.size(); ++k)
            guesses[static_cast<std::size_t>(places[k])] =
                BandForFilter(set.Filters[static_cast<std::size_t>(active[k])]);
    } else {
        for (const int i : active)
            guesses.push_back(BandForFilter(set.Filters[static_cast<std::size_t>(i)]));
    }
    BandSet bands = FitBands(reference, guesses, {plain});
    if (active.size() > static_cast<std::size_t>(kBandCount))
        std::stable_sort(bands.begin(), bands.end(), [](const EqBand& a, const EqBand& b) {
            if (IsFlat(a) != IsFlat(b))
                return IsFlat(b);
            return a.BandFreq < b.BandFreq;
        });
    for (int b = 0; b < kBandCount; ++b)
        if (IsFlat(bands[static_cast<std::size_t>(b)]))
            bands[static_cast<std::size_t>(b)] = UnusedBand(b);
    return bands;
}

double Similarity(const ResponseArray& a, const ResponseArray& b)
{
    const FitRange range = FitRangeOfGrid();
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (int i = range.First; i <= range.Last; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        ab += a[k] * b[k];
        aa += a[k] * a[k];
        bb += b[k] * b[k];
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// The difference of the import where a filter acts: where its own curve
// reaches half its largest magnitude.
CurveDifference DifferenceNear(const ImportResult& r, const ResponseArray& own)
{
    const FitRange range = FitRangeOfGrid();
    double peak = 0.0;
    for (int i = range.First; i <= range.Last; ++i)
        peak = std::max(peak, std::fabs(own[static_cast<std::size_t>(i)]));
    ResponseArray a{}, b{};
    for (int i = range.First; i <= range.Last; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (std::fabs(own[k]) >= 0.5 * peak) {
            a[k] = r.Fitted[k];
            b[k] = r.Reference[k];
        }
    }
    CurveDifference d = DifferenceOf(a, b);
    d.RmsDb = 0.0;  // over a part of the range only: not meaningful
    return d;
}

QString ShelfSideRemark(const ImportedFilter& f)
{
    const double centre = ReferenceCentreHz(f);
    if (f.Kind == ImportedKind::LowShelf && centre > 1000.0)
        return QStringLiteral("the unit's low shelves stop at 1000 Hz");
    if (f.Kind == ImportedKind::HighShelf && centre < 1000.0)
        return QStringLiteral("the unit's high shelves start at 1000 Hz");
    return QString();
}

void Append(QString& text, const QString& more)
{
    if (more.isEmpty())
        return;
    text += text.isEmpty() ? more : QStringLiteral("; ") + more;
}

// Which band stands for which filter, and what became of the rest.
void Attribute(ImportResult& r, const std::vector<int>& active)
{
    const std::vector<ImportedFilter>& filters = r.Parsed.Filters;
    std::array<ResponseArray, kBandCount> bandCurves;
    for (int b = 0; b < kBandCount; ++b) {
        BandOutcome& out = r.Bands[static_cast<std::size_t>(b)];
        out.BandNumber = b + 1;
        out.Band = r.Eq.Bands[static_cast<std::size_t>(b)];
        out.Unused = IsFlat(out.Band);
        bandCurves[static_cast<std::size_t>(b)] = BandCurve(out.Band, false);
    }
    for (std::size_t i = 0; i < filters.size(); ++i) {
        const ImportedFilter& f = filters[i];
        FilterOutcome out;
        out.Filter = static_cast<int>(i);
        const ResponseArray own = ReferenceResponse(f);
        if (r.FromUnitNotes) {
            out.Fate = f.On ? FilterFate::Placed : FilterFate::Off;
            out.Band = f.Number;
            r.Bands[static_cast<std::size_t>(f.Number - 1)].Filters.push_back(out.Filter);
            r.Bands[static_cast<std::size_t>(f.Number - 1)].Unused = false;
        } else if (!f.On) {
            out.Fate = FilterFate::Off;
        } else if (std::fabs(f.GainDb) < kNoGainDb) {
            out.Fate = FilterFate::NoEffect;
        } else {
            double best = kStandsForSimilarity;
            for (int b = 0; b < kBandCount; ++b) {
                const BandOutcome& band = r.Bands[static_cast<std::size_t>(b)];
                if (band.Unused)
                    continue;
                const double s = Similarity(own, bandCurves[static_cast<std::size_t>(b)]);
                if (s >= best) {
                    best = s;
                    out.Band = b + 1;
                }
            }
            if (out.Band > 0) {
                r.Bands[static_cast<std::size_t>(out.Band - 1)].Filters.push_back(out.Filter);
            } else {
                out.Fate = FilterFate::LeftOut;
                out.Why = active.size() > static_cast<std::size_t>(kBandCount)
                              ? QStringLiteral("no band left: the unit has five")
                              : QStringLiteral("no band of the unit comes close to it");
            }
            if (std::fabs(f.GainDb) > 12.0)
                Append(out.Why, QStringLiteral("the unit's gains end at 12 dB"));
            Append(out.Why, ShelfSideRemark(f));
        }
        if (f.On && out.Fate != FilterFate::NoEffect)
            out.Near = DifferenceNear(r, own);
        r.Filters.push_back(out);
    }
    for (FilterOutcome& out : r.Filters)
        if (out.Fate == FilterFate::Placed && out.Band > 0 &&
            r.Bands[static_cast<std::size_t>(out.Band - 1)].Filters.size() > 1 && !r.FromUnitNotes)
            out.Fate = FilterFate::Merged;
}

}  // namespace

int TrimForPreamp(double preampDb)
{
    if (std::isnan(preampDb))
        return kMaxTrim;
    return static_cast<int>(std::clamp(std::round(preampDb), double{kMinTrim}, double{kMaxTrim}));
}

ImportResult ImportFilterSet(FilterSet parsed)
{
    ImportResult r;
    r.Parsed = std::move(parsed);
    const FilterSet& set = r.Parsed;
    r.Reference = ReferenceSum(set.Filters);

    r.PreampDb = set.HasPreamp ? set.PreampDb : 0.0;
    r.Eq.Trim = TrimForPreamp(r.PreampDb);
    if (r.PreampDb > 0.5) {
        r.PreampNotAppliedDb = r.PreampDb - r.Eq.Trim;
        r.Notes << QStringLiteral("preamp %1 dB not applied: the unit's trim only attenuates")
                       .arg(r.PreampDb, 0, 'f', 1);
    } else if (r.PreampDb < kMinTrim - 0.5) {
        r.PreampNotAppliedDb = r.PreampDb - r.Eq.Trim;
        r.Notes << QStringLiteral("preamp %1 dB: the unit's trim stops at -18 dB, %2 dB not applied")
                       .arg(r.PreampDb, 0, 'f', 1)
                       .arg(r.PreampNotAppliedDb, 0, 'f', 1);
    }
    r.Eq.Bypass = set.HasBypassNote && set.Bypass;
    if (r.Eq.Bypass)
        r.Notes << QStringLiteral("bypass on, as the text notes");

    BandSet bands;
    std::vector<int> active;
    QString whyNot;
    r.FromUnitNotes = BandsFromNotes(set, bands, whyNot);
    if (!r.FromUnitNotes) {
        if (!whyNot.isEmpty())
            r.Notes << whyNot;
        bands = FitFilters(set, r.Reference, active);
    }
    for (EqBand& band : bands) {
        band.BandOffShown = band.BandOff;
        band.GainShownDb = ShownGainDb(band.BandGain);
    }
    r.Eq.Bands = bands;
    r.Block = NewSavingRecord();
    FillSavingRecord(r.Block, r.Eq, false);

    r.Fitted = BandSetResponse(bands);
    r.Difference = DifferenceOf(r.Fitted, r.Reference);
    Attribute(r, active);
    return r;
}

ImportResult ImportFilterText(const QString& text)
{
    return ImportFilterSet(ParseFilterText(text));
}

}  // namespace qireq
