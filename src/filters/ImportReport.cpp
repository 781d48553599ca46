#include "filters/ImportReport.h"

#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"

namespace qireq {

namespace {

QString SignedDb(int db)
{
    return db > 0 ? QStringLiteral("+%1").arg(db) : QString::number(db);
}

QString FilterLabel(const ImportResult& r, int index)
{
    const ImportedFilter& f = r.Parsed.Filters[static_cast<std::size_t>(index)];
    return QStringLiteral("line %1: %2").arg(f.Line).arg(DescribeFilter(f));
}

QString FormatName(FilterTextFormat format)
{
    switch (format) {
    case FilterTextFormat::RewSettings:
        return QStringLiteral("REW filter settings");
    case FilterTextFormat::RewTable:
        return QStringLiteral("REW filter table");
    case FilterTextFormat::EqualizerApo:
        return QStringLiteral("Equalizer APO text");
    default:
        return QStringLiteral("no known filter text");
    }
}

QString NearText(const CurveDifference& d)
{
    return QStringLiteral("up to %1 dB off near %2 Hz").arg(d.MaxDb, 0, 'f', 1).arg(d.AtHz, 0, 'f', 0);
}

}  // namespace

QString BandSummary(const EqBand& band)
{
    QString text = QStringLiteral("%1 %2 Hz").arg(TypeName(band.BandType), FrequencyText(band.BandFreq));
    if (band.BandType == kPeak)
        text += QStringLiteral(" Q %1").arg(QText(band.BandQ));
    text += QStringLiteral(" %1 dB").arg(SignedDb(ShownGainDb(band.BandGain)));
    if (band.BandOff != 0)
        text += QStringLiteral(" (off)");
    return text;
}

QString LineOutcomeName(LineOutcome outcome)
{
    switch (outcome) {
    case LineOutcome::Read:
        return QStringLiteral("read");
    case LineOutcome::Skipped:
        return QStringLiteral("skipped");
    case LineOutcome::Unsupported:
        return QStringLiteral("not representable");
    case LineOutcome::NotUnderstood:
        return QStringLiteral("not understood");
    default:
        return QStringLiteral("ignored");
    }
}

QString FilterFateName(FilterFate fate)
{
    switch (fate) {
    case FilterFate::Placed:
        return QStringLiteral("placed");
    case FilterFate::Merged:
        return QStringLiteral("merged");
    case FilterFate::LeftOut:
        return QStringLiteral("left out");
    case FilterFate::NoEffect:
        return QStringLiteral("no effect (0 dB)");
    default:
        return QStringLiteral("off");
    }
}

QString RenderImportReport(const ImportResult& r)
{
    QString out;
    int on = 0;
    for (const ImportedFilter& f : r.Parsed.Filters)
        on += f.On ? 1 : 0;
    out += QStringLiteral("%1: %2 filters on, %3 off")
               .arg(FormatName(r.Parsed.Format))
               .arg(on)
               .arg(static_cast<int>(r.Parsed.Filters.size()) - on);
    if (r.Parsed.HasPreamp)
        out += QStringLiteral(", preamp %1 dB").arg(r.PreampDb, 0, 'f', 1);
    out += r.FromUnitNotes ? QStringLiteral("; bands as this program exported them.\n")
                           : QStringLiteral(".\n");

    out += QStringLiteral("Band  Unit setting                          Stands for\n");
    for (const BandOutcome& band : r.Bands) {
        QString source;
        if (band.Unused)
            source = QStringLiteral("unused (flat)");
        else if (band.Filters.empty())
            source = QStringLiteral("added by the fit");
        for (std::size_t k = 0; k < band.Filters.size(); ++k)
            source += (k == 0 ? (band.Filters.size() > 1 ? QStringLiteral("merged: ") : QString())
                              : QStringLiteral("; ")) +
                      FilterLabel(r, band.Filters[k]);
        out += QStringLiteral("%1     %2 %3\n")
                   .arg(band.BandNumber)
                   .arg(BandSummary(band.Band), -37)
                   .arg(source);
    }

    for (const FilterOutcome& f : r.Filters) {
        if (f.Fate == FilterFate::LeftOut)
            out += QStringLiteral("Left out, %1: %2; %3\n")
                       .arg(FilterLabel(r, f.Filter), f.Why, NearText(f.Near));
        else if (f.Fate == FilterFate::NoEffect)
            out += QStringLiteral("No effect, %1\n").arg(FilterLabel(r, f.Filter));
        else if (f.Fate == FilterFate::Off && !r.FromUnitNotes)
            out += QStringLiteral("Off, not imported, %1\n").arg(FilterLabel(r, f.Filter));
        else if (!f.Why.isEmpty())
            out += QStringLiteral("Note, %1: %2; %3\n")
                       .arg(FilterLabel(r, f.Filter), f.Why, NearText(f.Near));
    }

    out += QStringLiteral("Trim %1 dB").arg(TrimText(r.Eq.Trim));
    if (r.Parsed.HasPreamp)
        out += QStringLiteral(" for the preamp of %1 dB").arg(r.PreampDb, 0, 'f', 1);
    out += QStringLiteral(".\n");
    for (const QString& note : r.Notes)
        out += QStringLiteral("Note: %1.\n").arg(note);
    out += QStringLiteral("Difference from the filters over 20 Hz-20 kHz: largest %1 dB (at %2 Hz), "
                          "RMS %3 dB.\n")
               .arg(r.Difference.MaxDb, 0, 'f', 2)
               .arg(r.Difference.AtHz, 0, 'f', 0)
               .arg(r.Difference.RmsDb, 0, 'f', 2);

    bool heading = false;
    for (const LineReport& line : r.Parsed.Lines) {
        if (line.Outcome == LineOutcome::Ignored ||
            (line.Outcome == LineOutcome::Read && line.Reason.isEmpty()))
            continue;
        if (!heading)
            out += QStringLiteral("Lines:\n");
        heading = true;
        out += QStringLiteral("  line %1, %2: %3 -- %4\n")
                   .arg(line.Line)
                   .arg(LineOutcomeName(line.Outcome), line.Reason, line.Text);
    }
    return out;
}

}  // namespace qireq
