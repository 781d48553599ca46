#include "ValueSnap.h"

#include "eq/EqBand.h"
#include "eq/EqTables.h"
#include "eq/EqValues.h"

#include <cmath>

namespace qireq::ctl {

namespace {

std::optional<double> Number(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

Snap Fail(const QString& message)
{
    Snap s;
    s.Error = message;
    return s;
}

}  // namespace

Snap SnapFrequency(const QString& hzText)
{
    const auto hz = Number(hzText);
    if (!hz)
        return Fail(QStringLiteral("--freq wants a frequency in Hz, not \"%1\"").arg(hzText));
    const double low = FrequencyTable.front();
    const double high = FrequencyTable.back();
    if (*hz < low || *hz > high)
        return Fail(QStringLiteral("frequency %1 Hz is outside the unit's range %2 to %3 Hz")
                        .arg(hzText.trimmed()).arg(low).arg(high));
    return Snap{NearestFreqStep(*hz), {}};
}

Snap SnapQ(const QString& qText)
{
    const auto q = Number(qText);
    if (!q)
        return Fail(QStringLiteral("--q wants a number, not \"%1\"").arg(qText));
    const double low = QTable.front();
    const double high = QTable.back();
    if (*q < low || *q > high)
        return Fail(QStringLiteral("Q %1 is outside the unit's range %2 to %3").arg(qText.trimmed()).arg(low).arg(high));
    return Snap{NearestQStep(*q), {}};
}

Snap SnapGain(const QString& dbText)
{
    const auto db = Number(dbText);
    if (!db)
        return Fail(QStringLiteral("--gain wants a gain in dB, not \"%1\"").arg(dbText));
    if (*db < -12.0 || *db > 12.0)
        return Fail(QStringLiteral("gain %1 dB is outside the unit's range -12 to +12 dB").arg(dbText.trimmed()));
    return Snap{NearestGainCode(*db), {}};
}

Snap SnapTrim(const QString& dbText)
{
    const auto db = Number(dbText);
    if (!db)
        return Fail(QStringLiteral("trim wants a level in dB, not \"%1\"").arg(dbText));
    if (*db < kMinTrim || *db > kMaxTrim)
        return Fail(QStringLiteral("trim %1 dB is outside the unit's range -18 to 0 dB").arg(dbText.trimmed()));
    return Snap{static_cast<int>(std::lround(*db)), {}};
}

Snap ParseBandType(const QString& text)
{
    if (const std::optional<int> type = BandTypeOfWord(text))
        return Snap{*type, {}};
    return Fail(QStringLiteral("--type wants peak, low-shelf or high-shelf, not \"%1\"").arg(text));
}

Snap ParseBandNumber(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > kBandCount)
        return Fail(QStringLiteral("the band is a number from 1 to 5, not \"%1\"").arg(text));
    return Snap{n, {}};
}

}  // namespace qireq::ctl
