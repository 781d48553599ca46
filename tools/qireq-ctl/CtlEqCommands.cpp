// eq show, eq set, eq trim and eq bypass.
#include "UnitCommands.h"
#include "CtlFleet.h"
#include "ValueSnap.h"

#include "eq/EqBand.h"
#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"
#include "eq/EqValues.h"
#include "protocol/Frames.h"
#include "protocol/ReplyFields.h"

namespace qireq::ctl {

std::optional<EqBlock> RunEqShow(UnitSession& s, const NoValue&, UnitResult&)
{
    return s.ReadBlock();
}

void RenderEqShow(const NoValue&, const EqBlock& block, UnitResult& r)
{
    r.Lines << QStringLiteral("trim: %1 dB").arg(DecodeTrim(block[kBlockTrimOffset]));
    r.Lines << QStringLiteral("bypass: %1").arg(block[kBlockBypassOffset] != 0 ? QStringLiteral("on")
                                                                                 : QStringLiteral("off"));
    for (int n = 1; n <= kBandCount; ++n)
        r.Lines << BandLine(UnitBandOf(block, n));
    r.Fields.insert(QStringLiteral("eq"), EqJson(block));
}

Prepared PrepareEqSet(const CtlCommand& c, BandChange& p)
{
    const Snap band = ParseBandNumber(c.Args.value(0));
    if (!band.ok())
        return Prepared::Usage(band.Error);
    p.Band = band.Value;
    Prepared prepared;
    QJsonObject snapped;
    QStringList notes;
    if (c.Has(QStringLiteral("type"))) {
        const Snap t = ParseBandType(c.Options.value(QStringLiteral("type")));
        if (!t.ok())
            return Prepared::Usage(t.Error);
        p.Type = t.Value;
        snapped.insert(QStringLiteral("type"), BandTypeWord(t.Value));
    }
    if (c.Has(QStringLiteral("freq"))) {
        const QString text = c.Options.value(QStringLiteral("freq"));
        const Snap f = SnapFrequency(text);
        if (!f.ok())
            return Prepared::Usage(f.Error);
        p.Freq = f.Value;
        notes << QStringLiteral("frequency %1 Hz -> %2 Hz (step %3)").arg(text, FrequencyText(f.Value)).arg(f.Value);
        snapped.insert(QStringLiteral("freq_hz"), FrequencyText(f.Value).toDouble());
        snapped.insert(QStringLiteral("freq_step"), f.Value);
    }
    if (c.Has(QStringLiteral("q"))) {
        const QString text = c.Options.value(QStringLiteral("q"));
        const Snap q = SnapQ(text);
        if (!q.ok())
            return Prepared::Usage(q.Error);
        p.Q = q.Value;
        notes << QStringLiteral("Q %1 -> %2 (step %3)").arg(text, QText(q.Value)).arg(q.Value);
        snapped.insert(QStringLiteral("q"), QText(q.Value).toDouble());
        snapped.insert(QStringLiteral("q_step"), q.Value);
    }
    if (c.Has(QStringLiteral("gain"))) {
        const QString text = c.Options.value(QStringLiteral("gain"));
        const Snap g = SnapGain(text);
        if (!g.ok())
            return Prepared::Usage(g.Error);
        p.Gain = g.Value;
        notes << QStringLiteral("gain %1 dB -> %2 (code %3)").arg(text, GainDbText(g.Value)).arg(g.Value);
        snapped.insert(QStringLiteral("gain_db"), GainDbOf(g.Value));
        snapped.insert(QStringLiteral("gain_code"), g.Value);
    }
    if (c.Has(QStringLiteral("on")))
        p.Off = false;
    if (c.Has(QStringLiteral("off")))
        p.Off = true;
    if (p.Off)
        snapped.insert(QStringLiteral("on"), !*p.Off);
    if (!p.Type && !p.Freq && !p.Q && !p.Gain && !p.Off)
        return Prepared::Usage(
            QStringLiteral("eq set %1 changes nothing: give --type, --freq, --q, --gain, --on or --off").arg(p.Band));
    if (!notes.isEmpty())
        prepared.Notes << QStringLiteral("snapped to the unit's steps: ") + notes.join(QStringLiteral(", "));
    if (!snapped.isEmpty())
        prepared.Extra.insert(QStringLiteral("snapped"), snapped);
    return prepared;
}

std::optional<BandWritten> RunEqSet(UnitSession& s, const BandChange& p, UnitResult& r)
{
    // The band as the unit holds it; only what was asked for changes.
    const auto before = s.ReadBlock();
    if (!before)
        return std::nullopt;
    BandWritten written;
    UnitBand& want = written.Band;
    want = UnitBandOf(*before, p.Band);
    want.Type = p.Type.value_or(want.Type);
    want.Freq = p.Freq.value_or(want.Freq);
    want.Q = p.Q.value_or(want.Q);
    want.GainCode = p.Gain.value_or(want.GainCode);
    want.Off = p.Off.value_or(want.Off);
    // The shelf rule of the window: a High Shelf at 1000 Hz or above, a Low
    // Shelf at 1000 Hz or below. A type change moves the band to 1000 Hz as
    // the type button does; a frequency asked for on the wrong side is an error.
    const int fixed = ShelfFix(want.Type, want.Freq);
    if (fixed != want.Freq) {
        if (p.Freq) {
            r.Error = QStringLiteral("a %1 band sits at 1000 Hz or %2, not at %3 Hz")
                          .arg(TypeName(want.Type),
                               want.Type == kHighShelf ? QStringLiteral("above") : QStringLiteral("below"),
                               FrequencyText(want.Freq));
            return std::nullopt;
        }
        written.MovedToShelfLine = true;
        want.Freq = fixed;
    }

    SetBandFrame frame(p.Band);
    const auto echo = [&](const QByteArray& answer) -> std::optional<QString> {
        const auto got = ReadBandEcho(answer);
        if (!got || got->BandNumber != p.Band)
            return QStringLiteral("the unit's echo named another band");
        return BandDifference(want, UnitBandOf(got->BandNumber, got->Record), QStringLiteral("echo"));
    };
    const auto readBack = [&](const EqBlock& after) {
        return BandDifference(want, UnitBandOf(after, p.Band), QStringLiteral("read-back"));
    };
    const EqBand band{want.Type, want.Freq, want.Q, want.GainCode, want.Off ? 1 : 0};
    if (!WriteVerified(s, frame.Fill(band), Command::SetBand, QStringLiteral("SetBand"), echo, readBack, r))
        return std::nullopt;
    return written;
}

void RenderEqSet(const BandChange&, const BandWritten& written, UnitResult& r)
{
    if (written.MovedToShelfLine)
        r.Lines << QStringLiteral("frequency moved to 1000.0 Hz, the %1's side of the line")
                       .arg(TypeName(written.Band.Type));
    r.Lines << BandLine(written.Band);
    r.Fields.insert(QStringLiteral("band"), BandJson(written.Band));
}

Prepared PrepareEqTrim(const CtlCommand& c, TrimLevel& trim)
{
    const Snap t = SnapTrim(c.Args.value(0));
    if (!t.ok())
        return Prepared::Usage(t.Error);
    trim.Db = t.Value;
    return {};
}

std::optional<int> RunEqTrim(UnitSession& s, const TrimLevel& trim, UnitResult& r)
{
    SetTrimFrame frame;
    const auto echo = [&](const QByteArray& answer) {
        const auto code = ReadTrimEcho(answer);
        return TrimDifference(trim.Db, code ? DecodeTrim(*code) : 1, QStringLiteral("echo"));
    };
    const auto readBack = [&](const EqBlock& after) {
        return TrimDifference(trim.Db, DecodeTrim(after[kBlockTrimOffset]), QStringLiteral("read-back"));
    };
    if (!WriteVerified(s, frame.Fill(trim.Db), Command::SetTrim, QStringLiteral("SetTrim"), echo, readBack, r))
        return std::nullopt;
    return trim.Db;
}

void RenderEqTrim(const TrimLevel&, const int& db, UnitResult& r)
{
    r.Lines << QStringLiteral("trim: %1 dB").arg(db);
    r.Fields.insert(QStringLiteral("trim_db"), db);
}

Prepared PrepareEqBypass(const CtlCommand& c, BypassSwitch& bypass)
{
    const QString v = c.Args.value(0).toLower();
    if (v != QLatin1String("on") && v != QLatin1String("off"))
        return Prepared::Usage(QStringLiteral("eq bypass wants on or off, not \"%1\"").arg(c.Args.value(0)));
    bypass.On = v == QLatin1String("on");
    return {};
}

std::optional<bool> RunEqBypass(UnitSession& s, const BypassSwitch& bypass, UnitResult& r)
{
    SetBypassFrame frame;
    const auto echo = [&](const QByteArray& answer) {
        return BypassDifference(bypass.On, ReadBypassEcho(answer).value_or(!bypass.On), QStringLiteral("echo"));
    };
    const auto readBack = [&](const EqBlock& after) {
        return BypassDifference(bypass.On, after[kBlockBypassOffset] != 0, QStringLiteral("read-back"));
    };
    if (!WriteVerified(s, frame.Fill(bypass.On), Command::SetBypass, QStringLiteral("SetBypass"), echo, readBack, r))
        return std::nullopt;
    return bypass.On;
}

void RenderEqBypass(const BypassSwitch&, const bool& on, UnitResult& r)
{
    r.Lines << QStringLiteral("bypass: %1").arg(on ? QStringLiteral("on") : QStringLiteral("off"));
    r.Fields.insert(QStringLiteral("bypass"), on);
}

}  // namespace qireq::ctl
