#include "eq/EqValues.h"

#include "eq/EqBand.h"
#include "eq/EqTables.h"

#include <algorithm>
#include <cmath>

namespace qireq {

namespace {

template <std::size_t N>
int NearestOnLogAxis(const std::array<double, N>& table, double value)
{
    if (!(value > 0.0))
        return 0;
    const double target = std::log(value);
    int best = 0;
    double bestDistance = std::fabs(std::log(table[0]) - target);
    for (std::size_t k = 1; k < N; ++k) {
        const double distance = std::fabs(std::log(table[k]) - target);
        if (distance < bestDistance) {
            best = static_cast<int>(k);
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

int NearestFreqStep(double hz)
{
    return NearestOnLogAxis(FrequencyTable, hz);
}

int NearestQStep(double q)
{
    return NearestOnLogAxis(QTable, q);
}

int NearestGainCode(double db)
{
    if (std::isnan(db))
        return kFlatGainCode;
    const double code = kFlatGainCode - std::round(2.0 * std::clamp(db, -12.0, 12.0));
    return std::clamp(static_cast<int>(code), 0, kMaxGainCode);
}

QString BandTypeWord(int typeIndex)
{
    switch (typeIndex) {
    case kHighShelf: return QStringLiteral("high-shelf");
    case kLowShelf: return QStringLiteral("low-shelf");
    default: return QStringLiteral("peak");
    }
}

std::optional<int> BandTypeOfWord(const QString& word)
{
    const QString w = word.trimmed().toLower();
    for (const int type : {kPeak, kLowShelf, kHighShelf}) {
        if (w == BandTypeWord(type))
            return type;
    }
    return std::nullopt;
}

}  // namespace qireq
