#pragma once
// Data value <-> page pixel along one axis of the response plot, as plain
// paired functions so they can be checked without painting.
//
// Linear X: pixel = W * (x - Min) / (Max - Min). Linear Y runs downward:
// pixel = H - H * (y - Min) / (Max - Min). Log axes use base-10 logarithms of
// the value and the limits, a value not above 0 counting as Min / 10.
// Pixels are whole numbers truncated toward zero; values far outside the
// int range saturate instead of overflowing.

namespace qireq {

enum class TAxisFormat { Linear, Log };

// Truncates toward zero; NaN gives 0, values beyond +-2^30 saturate there.
int TruncToInt(double value);

class AxisMapping {
public:
    // extent: page width (X) or height (Y) in pixels; downward: the Y rule.
    AxisMapping(double min, double max, TAxisFormat format, int extent, bool downward);
    static AxisMapping X(double min, double max, TAxisFormat format, int width)
    {
        return AxisMapping(min, max, format, width, false);
    }
    static AxisMapping Y(double min, double max, TAxisFormat format, int height)
    {
        return AxisMapping(min, max, format, height, true);
    }

    // The page position of a value before truncation.
    double Exact(double value) const;
    // The page pixel of a value, truncated toward zero.
    int Pixel(double value) const { return TruncToInt(Exact(value)); }
    // The value at a page position (the inverse of Exact, not truncated).
    double Value(double pixel) const;

    int Extent() const { return extent_; }

private:
    double Term(double value) const;  // the value on the axis' own scale

    double min_;
    double max_;
    TAxisFormat format_;
    int extent_;
    bool downward_;
    double lgMin_;
    double lgMax_;
};

}  // namespace qireq
