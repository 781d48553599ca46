#include "fleet/SnapshotDiff.h"

#include "fleet/EqText.h"

#include "eq/EqBand.h"
#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"

namespace qireq::fleet {

namespace {

QString Line(const QString& field, const QString& wanted, const QString& held)
{
    return QStringLiteral("%1: %2 in the snapshot, %3 on the unit").arg(field, wanted, held);
}

QString OnOff(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }

void BandLines(int n, const UnitBand& w, const UnitBand& h, QStringList& lines)
{
    const QString band = QStringLiteral("band %1 ").arg(n);
    if (w.Type != h.Type)
        lines << Line(band + QStringLiteral("type"), TypeName(w.Type), TypeName(h.Type));
    if (w.Freq != h.Freq)
        lines << Line(band + QStringLiteral("frequency"), FrequencyText(w.Freq) + QStringLiteral(" Hz"),
                      FrequencyText(h.Freq) + QStringLiteral(" Hz"));
    if (w.Q != h.Q)
        lines << Line(band + QStringLiteral("Q"), QText(w.Q), QText(h.Q));
    if (w.GainCode != h.GainCode)
        lines << Line(band + QStringLiteral("gain"), GainDbText(w.GainCode), GainDbText(h.GainCode));
    if (w.Off != h.Off)
        lines << Line(band + QStringLiteral("switch"), OffText(w.Off ? 1 : 0), OffText(h.Off ? 1 : 0));
}

}  // namespace

std::optional<SnapshotMatch> MatchSnapshotUnit(const VenueSnapshot& snapshot, const std::optional<MacBytes>& mac,
                                               const QString& address)
{
    for (std::size_t i = 0; i < snapshot.Units.size(); ++i) {
        const SnapshotUnit& u = snapshot.Units[i];
        if (mac && u.Mac) {
            if (*mac == *u.Mac)
                return SnapshotMatch{i, false};
        } else if (u.Address.compare(address, Qt::CaseInsensitive) == 0) {
            return SnapshotMatch{i, true};
        }
    }
    return std::nullopt;
}

QStringList SnapshotDifferences(const SnapshotUnit& wanted, const EqBlock& held, const QString& heldName)
{
    QStringList lines;
    const EqBlock& w = wanted.Block;
    if (w[kBlockTrimOffset] != held[kBlockTrimOffset])
        lines << Line(QStringLiteral("trim"), QStringLiteral("%1 dB").arg(DecodeTrim(w[kBlockTrimOffset])),
                      QStringLiteral("%1 dB").arg(DecodeTrim(held[kBlockTrimOffset])));
    if ((w[kBlockBypassOffset] != 0) != (held[kBlockBypassOffset] != 0))
        lines << Line(QStringLiteral("bypass"), OnOff(w[kBlockBypassOffset] != 0), OnOff(held[kBlockBypassOffset] != 0));
    for (int n = 1; n <= kBandCount; ++n)
        BandLines(n, UnitBandOf(w, n), UnitBandOf(held, n), lines);
    if (lines.isEmpty()) {
        // Bytes that decode alike still differ, and a restore must set them.
        for (int i = 0; i < kEqBlockSize; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (w[at] != held[at]) {
                lines << Line(QStringLiteral("block byte %1").arg(i), QString::number(w[at]), QString::number(held[at]));
                break;
            }
        }
    }
    if (wanted.Name != heldName)
        lines << Line(QStringLiteral("name"), QStringLiteral("\"%1\"").arg(wanted.Name),
                      QStringLiteral("\"%1\"").arg(heldName));
    return lines;
}

QStringList UnmatchedUnits(const VenueSnapshot& snapshot, const std::vector<bool>& matched)
{
    QStringList keys;
    for (std::size_t i = 0; i < snapshot.Units.size(); ++i) {
        if (i >= matched.size() || !matched[i])
            keys << QStringLiteral("%1 \"%2\"").arg(snapshot.Units[i].Key(), snapshot.Units[i].Name);
    }
    return keys;
}

}  // namespace qireq::fleet
