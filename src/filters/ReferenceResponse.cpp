#include "filters/ReferenceResponse.h"
#include "eq/Pi.h"

#include <cmath>

namespace qireq {

namespace {

constexpr double kNyquist = kReferenceSampleRate / 2;

bool IsShelf(const ImportedFilter& f)
{
    return f.Kind != ImportedKind::Peak;
}

bool IsFirstOrder(const ImportedFilter& f)
{
    return IsShelf(f) && f.Width == ShelfWidth::Corner && f.SlopeDb == 6.0;
}

// The cookbook's shelf "alpha" term before the factor sin(w0) / 2: 1 / Q,
// or from the slope S = slope / 12, sqrt((A + 1/A)(1/S - 1) + 2). Not a
// number when the slope is too steep for the gain.
double ShelfWidthTerm(const ImportedFilter& f, double A)
{
    if (f.Width == ShelfWidth::Q)
        return 1.0 / f.Q;
    const double S = f.SlopeDb / 12.0;
    return std::sqrt((A + 1.0 / A) * (1.0 / S - 1.0) + 2.0);
}

BiquadCoefficients Normalised(double b0, double b1, double b2, double a0, double a1, double a2)
{
    BiquadCoefficients c;
    c.b0 = b0 / a0;
    c.b1 = b1 / a0;
    c.b2 = b2 / a0;
    c.a0 = 1.0;
    c.a1 = a1 / a0;
    c.a2 = a2 / a0;
    return c;
}

// First-order shelves by the bilinear transform, warped to the centre:
// low shelf H(s) = (s + A) / (s + 1/A), high shelf H(s) = A (A s + 1) / (s + A),
// s normalised to the centre, so the gain is A^2 = 10^(gain / 20) on the
// shelf and the half-gain point sits at the centre.
BiquadCoefficients FirstOrderShelf(bool low, double A, double K)
{
    if (low)
        return Normalised(1.0 + A * K, A * K - 1.0, 0.0, 1.0 + K / A, K / A - 1.0, 0.0);
    return Normalised(A * (A + K), A * (K - A), 0.0, 1.0 + A * K, A * K - 1.0, 0.0);
}

}  // namespace

double ReferenceCentreHz(const ImportedFilter& filter)
{
    if (!IsShelf(filter) || filter.Width != ShelfWidth::Corner)
        return filter.Hz;
    const double S = IsFirstOrder(filter) ? 0.5 : filter.SlopeDb / 12.0;
    const double factor = std::pow(10.0, std::fabs(filter.GainDb) / 80.0 / S);
    return filter.Kind == ImportedKind::LowShelf ? filter.Hz * factor : filter.Hz / factor;
}

QString ReferenceProblem(const ImportedFilter& filter)
{
    if (!(filter.Hz > 0.0) || !std::isfinite(filter.GainDb))
        return QStringLiteral("no usable frequency or gain");
    const double centre = ReferenceCentreHz(filter);
    if (!(centre < kNyquist))
        return QStringLiteral("its centre, %1 Hz, lies at or above 24000 Hz").arg(centre, 0, 'f', 0);
    if (filter.Kind == ImportedKind::Peak || filter.Width == ShelfWidth::Q) {
        if (!(filter.Q > 0.0))
            return QStringLiteral("its Q is not positive");
        return QString();
    }
    if (!(filter.SlopeDb > 0.0))
        return QStringLiteral("its slope is not positive");
    if (!IsFirstOrder(filter) && !std::isfinite(ShelfWidthTerm(filter, std::pow(10.0, filter.GainDb / 40.0))))
        return QStringLiteral("a slope of %1 dB is too steep for a gain of %2 dB")
            .arg(filter.SlopeDb)
            .arg(filter.GainDb);
    return QString();
}

BiquadCoefficients ReferenceCoefficients(const ImportedFilter& filter)
{
    if (!ReferenceProblem(filter).isEmpty())
        return BiquadCoefficients{};
    const double A = std::pow(10.0, filter.GainDb / 40.0);
    const double f0 = ReferenceCentreHz(filter);
    const double w0 = 2.0 * kPi * f0 / kReferenceSampleRate;
    const double cs = std::cos(w0);
    const double sn = std::sin(w0);

    if (filter.Kind == ImportedKind::Peak) {
        const double alpha = sn / (2.0 * filter.Q);
        return Normalised(1.0 + alpha * A, -2.0 * cs, 1.0 - alpha * A, 1.0 + alpha / A, -2.0 * cs,
                          1.0 - alpha / A);
    }
    const bool low = filter.Kind == ImportedKind::LowShelf;
    if (IsFirstOrder(filter))
        return FirstOrderShelf(low, A, std::tan(w0 / 2.0));

    const double alpha = sn / 2.0 * ShelfWidthTerm(filter, A);
    const double beta = 2.0 * std::sqrt(A) * alpha;
    const double p = A + 1.0;
    const double m = A - 1.0;
    if (low)
        return Normalised(A * (p - m * cs + beta), 2.0 * A * (m - p * cs), A * (p - m * cs - beta),
                          p + m * cs + beta, -2.0 * (m + p * cs), p + m * cs - beta);
    return Normalised(A * (p + m * cs + beta), -2.0 * A * (m + p * cs), A * (p + m * cs - beta),
                      p - m * cs + beta, 2.0 * (m - p * cs), p - m * cs - beta);
}

ResponseArray ReferenceResponse(const ImportedFilter& filter)
{
    ResponseArray dB{};
    EvaluateBandResponse(ReferenceCoefficients(filter), dB);
    return dB;
}

ResponseArray ReferenceSum(const std::vector<ImportedFilter>& filters)
{
    ResponseArray sum{};
    for (const ImportedFilter& filter : filters) {
        if (!filter.On)
            continue;
        const ResponseArray one = ReferenceResponse(filter);
        for (std::size_t i = 0; i < sum.size(); ++i)
            sum[i] += one[i];
    }
    return sum;
}

}  // namespace qireq
