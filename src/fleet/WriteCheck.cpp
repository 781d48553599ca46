#include "fleet/WriteCheck.h"

#include "eq/EqBand.h"
#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"

namespace qireq::fleet {

namespace {

QString Differs(const QString& field, const QString& sent, const QString& got, const QString& where)
{
    return QStringLiteral("the unit did not apply the write: %1 is %2 in its %3, %4 was sent")
        .arg(field, got, where, sent);
}

}  // namespace

std::optional<QString> BandDifference(const UnitBand& sent, const UnitBand& got, const QString& where)
{
    const QString band = QStringLiteral("band %1 ").arg(sent.Number);
    if (sent.Type != got.Type)
        return Differs(band + QStringLiteral("type"), TypeName(sent.Type), TypeName(got.Type), where);
    if (sent.Freq != got.Freq)
        return Differs(band + QStringLiteral("frequency"), FrequencyText(sent.Freq) + QStringLiteral(" Hz"),
                       FrequencyText(got.Freq) + QStringLiteral(" Hz"), where);
    if (sent.Q != got.Q)
        return Differs(band + QStringLiteral("Q"), QText(sent.Q), QText(got.Q), where);
    if (sent.GainCode != got.GainCode)
        return Differs(band + QStringLiteral("gain"), GainDbText(sent.GainCode), GainDbText(got.GainCode), where);
    if (sent.Off != got.Off)
        return Differs(band + QStringLiteral("switch"), OffText(sent.Off ? 1 : 0), OffText(got.Off ? 1 : 0), where);
    return std::nullopt;
}

std::optional<QString> TrimDifference(int sentTrim, int gotTrim, const QString& where)
{
    if (sentTrim == gotTrim)
        return std::nullopt;
    return Differs(QStringLiteral("trim"), QStringLiteral("%1 dB").arg(sentTrim), QStringLiteral("%1 dB").arg(gotTrim),
                   where);
}

std::optional<QString> BypassDifference(bool sent, bool got, const QString& where)
{
    if (sent == got)
        return std::nullopt;
    auto word = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
    return Differs(QStringLiteral("bypass"), word(sent), word(got), where);
}

std::optional<QString> BlockDifference(const EqBlock& sent, const EqBlock& got, const QString& where)
{
    if (sent[kBlockTrimOffset] != got[kBlockTrimOffset])
        return TrimDifference(DecodeTrim(sent[kBlockTrimOffset]), DecodeTrim(got[kBlockTrimOffset]), where)
            .value_or(Differs(QStringLiteral("trim code"), QString::number(sent[kBlockTrimOffset]),
                              QString::number(got[kBlockTrimOffset]), where));
    if (auto d = BypassDifference(sent[kBlockBypassOffset] != 0, got[kBlockBypassOffset] != 0, where))
        return d;
    for (int n = 1; n <= kBandCount; ++n) {
        const auto offset = static_cast<std::size_t>(BandRecordOffset(n - 1));
        for (std::size_t i = 0; i < static_cast<std::size_t>(kBandRecordSize); ++i) {
            if (sent[offset + i] == got[offset + i])
                continue;
            if (auto d = BandDifference(UnitBandOf(sent, n), UnitBandOf(got, n), where))
                return d;
            // Bytes that decode alike (a type code the unit reads as Peak,
            // a step past the table's end) still differ.
            return Differs(QStringLiteral("band %1 byte %2").arg(n).arg(i),
                           QString::number(sent[offset + i]), QString::number(got[offset + i]), where);
        }
    }
    return std::nullopt;
}

}  // namespace qireq::fleet
