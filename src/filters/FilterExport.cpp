#include "filters/FilterExport.h"

#include "eq/EqEncoding.h"
#include "filters/UnitEquivalents.h"
#include "filters/UnitNotes.h"

namespace qireq {

namespace {

// Digits enough that the printed filter reproduces the band's response to
// far below the import's tolerance for its note.
QString FilterLine(int number, const EqBand& band)
{
    const ImportedFilter f = FilterForUnitBand(band);
    const QString state = band.BandOff != 0 ? QStringLiteral("OFF") : QStringLiteral("ON");
    const QString gain = QString::number(ShownGainDb(band.BandGain));
    if (f.Kind == ImportedKind::Peak)
        return QStringLiteral("Filter %1: %2 PK Fc %3 Hz Gain %4 dB Q %5")
            .arg(number)
            .arg(state, QString::number(f.Hz, 'g', 10), gain, QString::number(f.Q, 'f', 4));
    return QStringLiteral("Filter %1: %2 %3 Fc %4 Hz Gain %5 dB")
        .arg(number)
        .arg(state, f.TypeText, QString::number(f.Hz, 'f', 2), gain);
}

}  // namespace

EqState ShownEqOf(const EqBlock& block)
{
    EqState eq;
    eq.Trim = DecodeTrim(block[kBlockTrimOffset]);
    eq.Bypass = block[kBlockBypassOffset] != 0;
    for (int b = 0; b < kBandCount; ++b) {
        const DecodedBand d =
            DecodeBandRecord(&block[static_cast<std::size_t>(BandRecordOffset(b))]);
        EqBand& band = eq.Bands[static_cast<std::size_t>(b)];
        band.BandType = d.BandType;
        band.BandFreq = d.BandFreq;
        band.BandQ = d.BandQ;
        band.BandGain = GainCodeThroughSlider(d.GainCode);
        band.GainShownDb = ShownGainDb(band.BandGain);
        band.BandOff = band.BandOffShown = d.BandOff;
    }
    return eq;
}

QString ExportEqualizerApo(const EqBlock& block)
{
    const EqState eq = ShownEqOf(block);
    QString text = MasterNoteText(eq.Trim, eq.Bypass) + QLatin1Char('\n');
    text += QStringLiteral("# Each filter gives a band of the unit as Equalizer APO applies it; the "
                           "comment after it keeps the unit's own values.\n");
    text += QStringLiteral("Preamp: %1 dB\n").arg(eq.Trim);
    for (int b = 0; b < kBandCount; ++b) {
        const EqBand& band = eq.Bands[static_cast<std::size_t>(b)];
        text += FilterLine(b + 1, band) + QLatin1Char('\n');
        text += UnitBandNoteText(b + 1, band) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace qireq
