#pragma once
// The unit's band curves as the fitter's search compares them: on the plot
// grid over 20 Hz..20 kHz, or on every n-th point of it, in single
// precision, each candidate band computed once per fit with the program's
// own response code. A fit looks at thousands of candidates: most of the
// search runs on every other point (about 1/35 octave apart, far finer than
// any band the unit or the tools have), and only its end on the full grid.
#include "eq/BandResponse.h"
#include "eq/EqBand.h"
#include "filters/CoarseResponse.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qireq {

// One band as the search moves it; gain 0 is a band that adds nothing.
struct FitBand {
    int type = kPeak;
    int freq = 0;
    int q = 0;
    int db = 0;

    bool operator==(const FitBand& o) const
    {
        return type == o.type && freq == o.freq && q == o.q && db == o.db;
    }
};

// Band curves on the search grid, valid for the life of the cache. Shelves
// ignore their Q step, and every flat band shares one curve of zeros. The
// curves' memory is kept by the thread between fits, so that a fit does not
// pay for fresh pages; one cache per thread at a time.
class FitCurveCache {
public:
    // Search: every other grid point over the fit range; Full: every one.
    enum Grid { Search, Full };
    explicit FitCurveCache(Grid grid);
    ~FitCurveCache();
    FitCurveCache(const FitCurveCache&) = delete;
    FitCurveCache& operator=(const FitCurveCache&) = delete;

    int Size() const { return size_; }
    int Stride() const { return stride_; }
    int GridPoint(int k) const { return first_ + stride_ * k; }
    const float* Curve(const FitBand& band);

    // A curve of the plot grid on the cache's points.
    std::vector<float> OnGrid(const ResponseArray& curve) const;

private:
    struct Slot {
        std::uint32_t key = 0;  // 0: empty
        const float* curve = nullptr;
    };

    Slot& Find(std::uint32_t key);
    void Grow();
    const float* Compute(const FitBand& band);

    int stride_;
    int first_;
    int size_;
    std::unique_ptr<CoarseResponse> response_;
    std::vector<float> zeros_;
    std::vector<Slot> slots_;  // a power of two, at most half full
    std::size_t count_ = 0;
};

}  // namespace qireq
