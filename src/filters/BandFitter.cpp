#include "filters/BandFitter.h"

#include "eq/EqEncoding.h"
#include "eq/ResponseCurves.h"
#include "filters/FitCurves.h"
#include "filters/FitRange.h"
#include "filters/UnitEquivalents.h"

#include <algorithm>
#include <cmath>

namespace qireq {

namespace {

constexpr int kMaxDb = 12;
// Below this largest difference (about what whole-dB gains leave) the fit
// does not look further than the nearest local minimum.
constexpr double kGoodEnoughDb = 0.5;

using Params = FitBand;

Params ParamsOf(const EqBand& band)
{
    return Params{band.BandType, band.BandFreq, band.BandQ,
                  band.BandOff != 0 ? 0 : ShownGainDb(band.BandGain)};
}

// Whether a band may stand where it is: in range, shelves on their side.
bool Valid(const Params& p)
{
    return p.freq >= 0 && p.freq <= kMaxFreqStep && p.q >= 0 && p.q <= kMaxQStep &&
           p.db >= -kMaxDb && p.db <= kMaxDb && ShelfFix(p.type, p.freq) == p.freq;
}

// What the search minimises: the sum of the 2nd, 4th or 16th powers of the
// differences, or the largest difference with the sum of squares to break
// ties.
enum class Measure { Power2, Power4, Power16, Largest };

struct Score {
    double main = 0.0;
    double tie = 0.0;

    // The sums are taken in single precision: differences below a few
    // parts in a million are rounding, not a better fit.
    bool operator<(const Score& o) const
    {
        const double slack = 4e-6 * (1e-6 + std::fabs(o.main));
        if (main < o.main - slack)
            return true;
        if (main > o.main + slack)
            return false;
        return tie < o.tie - 4e-6 * (1e-6 + std::fabs(o.tie));
    }
};

template <Measure M>
inline void Accumulate(float d, float& sum, float& largest)
{
    const float d2 = d * d;
    if constexpr (M == Measure::Power2) {
        sum += d2;
    } else if constexpr (M == Measure::Power4) {
        sum += d2 * d2;
    } else if constexpr (M == Measure::Power16) {
        const float d4 = d2 * d2;
        const float d8 = d4 * d4;
        sum += d8 * d8;
    } else {
        sum += d2;
        largest = std::max(largest, std::fabs(d));
    }
}

// The measure of error e with one band's curve replaced by another.
template <Measure M>
Score ScoreOf(const float* e, const float* remove, const float* add, int n)
{
    // Sixteen partial sums, so that each addition need not wait for the last.
    constexpr int kLanes = 16;
    float sums[kLanes] = {};
    float largests[kLanes] = {};
    int i = 0;
    for (; i + kLanes <= n; i += kLanes)
        for (int j = 0; j < kLanes; ++j)
            Accumulate<M>(e[i + j] - remove[i + j] + add[i + j], sums[j], largests[j]);
    for (; i < n; ++i)
        Accumulate<M>(e[i] - remove[i] + add[i], sums[0], largests[0]);
    float sum = 0.0f;
    float largest = 0.0f;
    for (int j = 0; j < kLanes; ++j) {
        sum += sums[j];
        largest = std::max(largest, largests[j]);
    }
    if constexpr (M == Measure::Largest)
        return Score{largest, sum};
    return Score{sum, 0.0};
}

class Search {
public:
    Search(const ResponseArray& target, FitCurveCache& cache)
        : cache_(cache), n_(cache.Size()), error_(static_cast<std::size_t>(n_)),
          target_(cache.OnGrid(target))
    {
    }

    void Start(const std::array<Params, kBandCount>& bands)
    {
        bands_ = bands;
        for (int b = 0; b < kBandCount; ++b)
            CurveAt(b) = cache_.Curve(BandAt(b));
        SumError();
    }

    const std::array<Params, kBandCount>& Bands() const { return bands_; }

    void Clear(int b) { Replace(b, Params{}); }

    Score Current(Measure m) { return ScoreWith(m, 0, bands_[0]); }

    // Chooses up to five of the guesses one after another, each time the
    // one that brings the sum of squares down most.
    void Greedy(const std::vector<Params>& guesses)
    {
        Start({});
        std::vector<bool> used(guesses.size(), false);
        for (int b = 0; b < kBandCount; ++b) {
            int best = -1;
            Score bestScore = Current(Measure::Power2);
            for (std::size_t g = 0; g < guesses.size(); ++g) {
                if (used[g])
                    continue;
                const Score s = ScoreWith(Measure::Power2, b, guesses[g]);
                if (s < bestScore) {
                    bestScore = s;
                    best = static_cast<int>(g);
                }
            }
            if (best < 0)
                break;
            used[static_cast<std::size_t>(best)] = true;
            Replace(b, guesses[static_cast<std::size_t>(best)]);
        }
    }

    // Moves one band at a time to its best neighbour until none helps.
    // The band `held` stays as it is.
    void LocalSearch(Measure m, int maxPasses, int held = -1)
    {
        for (int pass = 0; pass < maxPasses; ++pass) {
            bool moved = false;
            for (int b = 0; b < kBandCount; ++b) {
                if (b == held)
                    continue;
                Score best = Current(m);
                Params bestMove = BandAt(b);
                for (const Params& p : Neighbours(b)) {
                    const Score s = ScoreWith(m, b, p);
                    if (s < best) {
                        best = s;
                        bestMove = p;
                    }
                }
                if (!(bestMove == BandAt(b))) {
                    Replace(b, bestMove);
                    moved = true;
                }
            }
            if (!moved)
                return;
        }
    }

private:
    Score ScoreWith(Measure m, int b, const Params& p)
    {
        const float* add = cache_.Curve(p);
        const float* remove = CurveAt(b);
        switch (m) {
        case Measure::Power2:
            return ScoreOf<Measure::Power2>(error_.data(), remove, add, n_);
        case Measure::Power4:
            return ScoreOf<Measure::Power4>(error_.data(), remove, add, n_);
        case Measure::Power16:
            return ScoreOf<Measure::Power16>(error_.data(), remove, add, n_);
        default:
            return ScoreOf<Measure::Largest>(error_.data(), remove, add, n_);
        }
    }

    void Replace(int b, const Params& p)
    {
        CurveAt(b) = cache_.Curve(p);
        BandAt(b) = p;
        SumError();
    }

    // Summed afresh rather than updated, so that rounding does not pile up
    // over the many moves of a search.
    void SumError()
    {
        const float* c[kBandCount];
        for (int b = 0; b < kBandCount; ++b)
            c[b] = CurveAt(b);
        for (int i = 0; i < n_; ++i)
            error_[static_cast<std::size_t>(i)] =
                c[0][i] + c[1][i] + c[2][i] + c[3][i] + c[4][i] - target_[static_cast<std::size_t>(i)];
    }

    void Add(std::vector<Params>& out, Params p)
    {
        if (Valid(p))
            out.push_back(p);
    }

    // The steps around band b, and for a flat band new bands where the
    // difference without it is largest.
    std::vector<Params> Neighbours(int b)
    {
        const Params c = BandAt(b);
        std::vector<Params> out;
        if (c.db == 0) {
            Seeds(b, out);
            return out;
        }
        static const int kSteps[] = {1, 2, 4, 8};
        for (const int k : kSteps)
            for (const int s : {-k, k}) {
                Add(out, Params{c.type, c.freq + s, c.q, c.db});
                if (c.type == kPeak)
                    Add(out, Params{c.type, c.freq, c.q + s, c.db});
            }
        for (const int g : {-1, 1}) {
            if (c.db + g == 0)
                continue;
            Add(out, Params{c.type, c.freq, c.q, c.db + g});
            for (const int s : {-1, 1}) {
                Add(out, Params{c.type, c.freq + s, c.q, c.db + g});
                if (c.type == kPeak)
                    Add(out, Params{c.type, c.freq, c.q + s, c.db + g});
            }
        }
        if (c.type == kPeak) {
            for (const int s : {-1, 1})
                for (const int t : {-1, 1})
                    Add(out, Params{c.type, c.freq + s, c.q + t, c.db});
            Add(out, Params{kLowShelf, c.freq, c.q, c.db});
            Add(out, Params{kHighShelf, c.freq, c.q, c.db});
        } else {
            Add(out, Params{kPeak, c.freq, c.q, c.db});
        }
        out.push_back(Params{kPeak, c.freq, c.q, 0});  // the band off
        return out;
    }

    // Peaks of several widths at the largest differences left by the
    // other bands, and shelves at both ends.
    void Seeds(int b, std::vector<Params>& out)
    {
        const float* own = CurveAt(b);
        std::vector<std::pair<double, int>> extremes;
        for (int i = 0; i < n_; ++i) {
            const double d = error_[static_cast<std::size_t>(i)] - own[i];
            const double prev = i > 0 ? error_[static_cast<std::size_t>(i - 1)] - own[i - 1] : 0.0;
            const double next =
                i + 1 < n_ ? error_[static_cast<std::size_t>(i + 1)] - own[i + 1] : 0.0;
            if (std::fabs(d) >= std::fabs(prev) && std::fabs(d) >= std::fabs(next))
                extremes.emplace_back(std::fabs(d), i);
        }
        const int top = std::min<int>(3, static_cast<int>(extremes.size()));
        std::partial_sort(extremes.begin(), extremes.begin() + top, extremes.end(),
                          [](const auto& x, const auto& y) { return x.first > y.first; });
        for (int k = 0; k < top; ++k) {
            const int i = extremes[static_cast<std::size_t>(k)].second;
            const double d = error_[static_cast<std::size_t>(i)] - own[i];
            const int db = WholeDbGain(-d);
            if (db == 0)
                continue;
            const int freq = NearestFreqStep(GridFrequency(cache_.GridPoint(i)));
            const int q = NearestQStep(QOfHalfWidth(b, i));
            for (const int dq : {-8, -4, 0, 4, 8})
                Add(out, Params{kPeak, freq, q + dq, db});
        }
        const double low = error_[0] - own[0];
        const double high = error_[static_cast<std::size_t>(n_ - 1)] - own[n_ - 1];
        for (int freq = 10; freq <= kShelfStep; freq += 30)
            Add(out, Params{kLowShelf, freq, 0, WholeDbGain(-low)});
        for (int freq = kShelfStep; freq <= kMaxFreqStep; freq += 30)
            Add(out, Params{kHighShelf, freq, 0, WholeDbGain(-high)});
    }

    // The Q of a peak as wide as the difference left by the other bands
    // around point i, measured where it falls to half.
    double QOfHalfWidth(int b, int i)
    {
        const float* own = CurveAt(b);
        auto at = [&](int k) { return double{error_[static_cast<std::size_t>(k)] - own[k]}; };
        const double half = 0.5 * at(i);
        int lo = i;
        int hi = i;
        while (lo > 0 && std::fabs(at(lo - 1)) > std::fabs(half) && at(lo - 1) * half > 0)
            --lo;
        while (hi + 1 < n_ && std::fabs(at(hi + 1)) > std::fabs(half) && at(hi + 1) * half > 0)
            ++hi;
        // Plot grid points are lg(24000) / 1024 decades apart.
        const double octaves =
            (hi - lo + 1) * cache_.Stride() * std::log2(24000.0) / kResponsePoints;
        const double ratio = std::pow(2.0, octaves);
        return std::sqrt(ratio) / (ratio - 1.0);
    }

    Params& BandAt(int b) { return bands_[static_cast<std::size_t>(b)]; }
    const float*& CurveAt(int b) { return curves_[static_cast<std::size_t>(b)]; }

    FitCurveCache& cache_;
    int n_;
    std::vector<float> error_;  // sum of the band curves minus the target
    std::vector<float> target_;
    std::array<Params, kBandCount> bands_{};
    std::array<const float*, kBandCount> curves_{};
};

BandSet BandsOf(const std::array<Params, kBandCount>& params, const std::vector<EqBand>& guesses)
{
    BandSet bands;
    for (int b = 0; b < kBandCount; ++b) {
        const Params& p = params[static_cast<std::size_t>(b)];
        EqBand band = UnitBand(p.type, p.freq, p.q, p.db);
        // A shelf's Q step has no effect; keep the one its guess carried.
        for (const EqBand& g : guesses)
            if (p.type != kPeak && g.BandType == p.type && g.BandFreq == p.freq)
                band.BandQ = g.BandQ;
        bands[static_cast<std::size_t>(b)] = band;
    }
    return bands;
}

// The start: up to five guesses keep their slots; from more, five are
// chosen greedily.
void StartFrom(Search& search, const std::vector<EqBand>& guesses)
{
    if (guesses.size() <= static_cast<std::size_t>(kBandCount)) {
        std::array<Params, kBandCount> first{};
        for (std::size_t b = 0; b < guesses.size(); ++b) {
            const Params p = ParamsOf(guesses[b]);
            if (Valid(p))
                first[b] = p;
        }
        search.Start(first);
    } else {
        std::vector<Params> pool;
        for (const EqBand& g : guesses) {
            const Params p = ParamsOf(g);
            if (p.db != 0 && Valid(p))
                pool.push_back(p);
        }
        search.Greedy(pool);
    }
}

// Local searches from where the search stands, first on the given smoother
// measures, then on the largest difference; then, while that stays above
// kGoodEnoughDb, up to `rounds` times each band in turn taken out, the
// others left to make up for it, and the band placed anew where the
// difference is largest. Returns the best set seen by the largest difference.
std::array<Params, kBandCount> Improve(Search& search, std::initializer_list<Measure> measures,
                                       int rounds)
{
    auto best = search.Bands();
    Score bestScore = search.Current(Measure::Largest);
    auto keepBest = [&] {
        const Score s = search.Current(Measure::Largest);
        if (s < bestScore) {
            bestScore = s;
            best = search.Bands();
            return true;
        }
        return false;
    };
    for (const Measure m : measures) {
        search.LocalSearch(m, 200);
        keepBest();
    }
    search.LocalSearch(Measure::Largest, 200);
    keepBest();
    for (int round = 0; round < rounds && bestScore.main > kGoodEnoughDb; ++round) {
        bool better = false;
        for (int b = 0; b < kBandCount; ++b) {
            search.Start(best);
            search.Clear(b);
            search.LocalSearch(Measure::Power16, 200, b);
            search.LocalSearch(Measure::Power16, 200);
            search.LocalSearch(Measure::Largest, 200);
            better = keepBest() || better;
        }
        if (!better)
            break;
    }
    return best;
}

}  // namespace

ResponseArray BandSetResponse(const BandSet& bands)
{
    ResponseArray sum{};
    for (const EqBand& band : bands) {
        const ResponseArray curve = BandCurve(band, false);
        for (std::size_t i = 0; i < sum.size(); ++i)
            sum[i] += curve[i];
    }
    return sum;
}

BandSet FitBands(const ResponseArray& target, const std::vector<EqBand>& guesses,
                 const std::vector<BandSet>& fallbacks)
{
    // Most of the search on every other grid point, its end on all of them,
    // so that no peak of the difference hides between the search's points.
    std::array<Params, kBandCount> best{};
    {
        FitCurveCache cache(FitCurveCache::Search);
        Search search(target, cache);
        StartFrom(search, guesses);
        best = Improve(search, {Measure::Power4, Measure::Power16}, 3);
    }
    {
        FitCurveCache cache(FitCurveCache::Full);
        Search search(target, cache);
        search.Start(best);
        best = Improve(search, {Measure::Power4, Measure::Power16}, 1);
    }

    // Judged on the full grid: the search's grid may pass between the
    // points where two sets differ most.
    BandSet result = BandsOf(best, guesses);
    double resultDb = DifferenceOf(BandSetResponse(result), target).MaxDb;
    for (const BandSet& fallback : fallbacks) {
        const double db = DifferenceOf(BandSetResponse(fallback), target).MaxDb;
        if (db < resultDb) {
            resultDb = db;
            result = fallback;
        }
    }
    return result;
}

}  // namespace qireq
