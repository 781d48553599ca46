#include "filters/FitCurves.h"

#include "eq/EqEncoding.h"
#include "filters/FitRange.h"

#include <cassert>
#include <memory>

namespace qireq {

namespace {

constexpr int kMaxDb = 12;
constexpr std::size_t kChunkFloats = std::size_t{1} << 15;
// What a thread keeps between fits; a larger fit gives the rest back.
constexpr std::size_t kKeptChunks = (std::size_t{16} << 20) / (kChunkFloats * sizeof(float));

struct CurveStore {
    std::vector<std::unique_ptr<float[]>> chunks;
    std::size_t chunk = 0;  // the chunk being filled
    std::size_t used = 0;   // floats used in it
    bool busy = false;
};

CurveStore& Store()
{
    thread_local CurveStore store;
    return store;
}

}  // namespace

FitCurveCache::FitCurveCache(Grid grid)
    : stride_(grid == Search ? 2 : 1), first_(FitRangeOfGrid().First),
      size_((FitRangeOfGrid().Last - first_) / stride_ + 1),
      zeros_(static_cast<std::size_t>(size_), 0.0f), slots_(8192)
{
    response_ = std::make_unique<CoarseResponse>(first_, stride_, size_);
    CurveStore& store = Store();
    assert(!store.busy);
    store.busy = true;
    store.chunk = 0;
    store.used = 0;
}

FitCurveCache::~FitCurveCache()
{
    CurveStore& store = Store();
    if (store.chunks.size() > kKeptChunks)
        store.chunks.resize(kKeptChunks);
    store.busy = false;
}

const float* FitCurveCache::Curve(const FitBand& band)
{
    if (band.db == 0)
        return zeros_.data();
    const int q = band.type == kPeak ? band.q : 0;
    const std::uint32_t key = static_cast<std::uint32_t>(
        ((band.type * (kMaxFreqStep + 1) + band.freq) * (kMaxQStep + 1) + q) * (2 * kMaxDb + 1) +
        (band.db + kMaxDb) + 1);
    Slot& slot = Find(key);
    if (slot.key != 0)
        return slot.curve;
    const float* curve = Compute(band);
    slot = Slot{key, curve};
    if (++count_ * 2 > slots_.size())
        Grow();
    return curve;
}

FitCurveCache::Slot& FitCurveCache::Find(std::uint32_t key)
{
    // Fibonacci hashing: the top bits of the product mix every bit of the key.
    const std::size_t mask = slots_.size() - 1;
    std::size_t at =
        static_cast<std::size_t>((std::uint64_t{key} * 0x9E3779B97F4A7C15ull) >> 40) & mask;
    while (slots_[at].key != 0 && slots_[at].key != key)
        at = (at + 1) & mask;
    return slots_[at];
}

void FitCurveCache::Grow()
{
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& s : old)
        if (s.key != 0)
            Find(s.key) = s;
}

const float* FitCurveCache::Compute(const FitBand& band)
{
    CurveStore& store = Store();
    const std::size_t size = static_cast<std::size_t>(size_);
    if (store.used + size > kChunkFloats) {
        ++store.chunk;
        store.used = 0;
    }
    if (store.chunk == store.chunks.size())
        store.chunks.push_back(std::make_unique<float[]>(kChunkFloats));
    float* curve = store.chunks[store.chunk].get() + store.used;
    store.used += size;

    BiquadCoefficients c;
    DesignBiquad(band.db, FrequencyOf(band.freq), QOf(band.q), FilterKindOf(band.type), c);
    if (response_->Evaluate(c, curve))
        return curve;
    ResponseArray full;
    EvaluateBandResponse(c, full);
    const double* point = full.data() + first_;
    for (std::size_t k = 0; k < size; ++k)
        curve[k] = static_cast<float>(point[static_cast<std::size_t>(stride_) * k]);
    return curve;
}

std::vector<float> FitCurveCache::OnGrid(const ResponseArray& curve) const
{
    std::vector<float> out(static_cast<std::size_t>(size_));
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = static_cast<float>(curve[static_cast<std::size_t>(GridPoint(static_cast<int>(k)))]);
    return out;
}

}  // namespace qireq
