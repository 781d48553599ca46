#include "controls/PlotScale.h"

#include <cmath>

namespace qireq {

namespace {
constexpr double kSaturation = 1073741824.0;  // 2^30, far beyond any page

double SafeLg(double value, double fallback)
{
    return value > 0.0 ? std::log10(value) : std::log10(fallback);
}
}  // namespace

int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= kSaturation)
        return static_cast<int>(kSaturation);
    if (value <= -kSaturation)
        return -static_cast<int>(kSaturation);
    return static_cast<int>(value);  // truncates toward zero
}

AxisMapping::AxisMapping(double min, double max, TAxisFormat format, int extent, bool downward)
    : min_(min), max_(max), format_(format), extent_(extent), downward_(downward), lgMin_(0.0), lgMax_(0.0)
{
    if (format_ == TAxisFormat::Log) {
        // Limits not above 0 have no logarithm: the maximum counts as 10 and
        // the minimum as a tenth of the maximum, as autoscaling would set them.
        const double lgMax = max_ > 0.0 ? std::log10(max_) : 1.0;
        lgMax_ = lgMax;
        lgMin_ = min_ > 0.0 ? std::log10(min_) : lgMax - 1.0;
    }
}

double AxisMapping::Term(double value) const
{
    if (format_ == TAxisFormat::Linear)
        return value;
    // A value not above 0 counts as a tenth of the minimum.
    return SafeLg(value, std::pow(10.0, lgMin_) / 10.0);
}

double AxisMapping::Exact(double value) const
{
    const double w = static_cast<double>(extent_);
    double lo = min_;
    double hi = max_;
    double v = value;
    if (format_ == TAxisFormat::Log) {
        lo = lgMin_;
        hi = lgMax_;
        v = Term(value);
    }
    if (hi == lo)
        return downward_ ? w : 0.0;
    // Written as the rule reads, so that truncation lands on the same pixel.
    if (downward_)
        return w - w * (v - lo) / (hi - lo);
    return w * (v - lo) / (hi - lo);
}

double AxisMapping::Value(double pixel) const
{
    double lo = min_;
    double hi = max_;
    if (format_ == TAxisFormat::Log) {
        lo = lgMin_;
        hi = lgMax_;
    }
    if (extent_ <= 0)
        return format_ == TAxisFormat::Log ? std::pow(10.0, lo) : lo;
    const double w = static_cast<double>(extent_);
    const double fraction = downward_ ? (w - pixel) / w : pixel / w;
    const double term = lo + fraction * (hi - lo);
    return format_ == TAxisFormat::Log ? std::pow(10.0, term) : term;
}

}  // namespace qireq
