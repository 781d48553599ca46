#include "fleet/EqText.h"

#include "eq/EqBand.h"
#include "eq/EqDisplay.h"
#include "eq/EqValues.h"

#include <QJsonArray>

#include <algorithm>

namespace qireq::fleet {

UnitBand UnitBandOf(int bandNumber, const BandRecord& record)
{
    const DecodedBand d = DecodeBandRecord(record.data());
    UnitBand b;
    b.Number = bandNumber;
    b.Type = d.BandType;
    b.Freq = d.SentFreq;
    b.Q = d.BandQ;
    b.GainCode = std::min(d.GainCode, kMaxGainCode);
    b.Off = d.BandOff != 0;
    return b;
}

UnitBand UnitBandOf(const EqBlock& block, int bandNumber)
{
    BandRecord record{};
    const auto offset = static_cast<std::size_t>(BandRecordOffset(bandNumber - 1));
    std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(offset), kBandRecordSize, record.begin());
    return UnitBandOf(bandNumber, record);
}

BandRecord RecordOf(const UnitBand& band)
{
    EqBand e;
    e.BandType = band.Type;
    e.BandFreq = band.Freq;
    e.BandQ = band.Q;
    e.BandGain = band.GainCode;
    e.BandOff = band.Off ? 1 : 0;
    return EncodeBand(e);
}

QString GainDbText(int code) { return QString::number(GainDbOf(code)) + QStringLiteral(" dB"); }

QString BandLine(const UnitBand& b)
{
    return QStringLiteral("band %1: %2 %3 Hz Q %4 %5 %6")
        .arg(b.Number)
        .arg(TypeName(b.Type), FrequencyText(b.Freq), QText(b.Q), GainDbText(b.GainCode), OffText(b.Off ? 1 : 0));
}

QJsonObject BandJson(const UnitBand& b)
{
    return QJsonObject{
        {QStringLiteral("band"), b.Number},
        {QStringLiteral("type"), BandTypeWord(b.Type)},
        {QStringLiteral("freq_hz"), FrequencyText(b.Freq).toDouble()},
        {QStringLiteral("freq_step"), b.Freq},
        {QStringLiteral("q"), QText(b.Q).toDouble()},
        {QStringLiteral("q_step"), b.Q},
        {QStringLiteral("gain_db"), GainDbOf(b.GainCode)},
        {QStringLiteral("gain_code"), b.GainCode},
        {QStringLiteral("on"), !b.Off},
    };
}

QJsonObject EqJson(const EqBlock& block)
{
    QJsonArray bands;
    for (int n = 1; n <= kBandCount; ++n)
        bands.append(BandJson(UnitBandOf(block, n)));
    return QJsonObject{
        {QStringLiteral("trim_db"), DecodeTrim(block[kBlockTrimOffset])},
        {QStringLiteral("bypass"), block[kBlockBypassOffset] != 0},
        {QStringLiteral("bands"), bands},
    };
}

}  // namespace qireq::fleet
