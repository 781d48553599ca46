#include "filters/UnitNotes.h"

#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"
#include "eq/EqValues.h"

#include <QRegularExpression>

namespace qireq {

namespace {

QString SignedDb(int db)
{
    return db > 0 ? QStringLiteral("+%1").arg(db) : QString::number(db);
}

}  // namespace

QString MasterNoteText(int trim, bool bypass)
{
    return QStringLiteral("# QIR-EQ Master EQ: trim %1 dB, bypass %2")
        .arg(trim)
        .arg(bypass ? QStringLiteral("on") : QStringLiteral("off"));
}

std::optional<bool> ReadBypassNote(const QString& line)
{
    static const QRegularExpression note(
        QStringLiteral("^#\\s*QIR-EQ Master EQ:.*\\bbypass (on|off)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = note.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).compare(QLatin1String("on"), Qt::CaseInsensitive) == 0;
}

QString UnitBandNoteText(int bandNumber, const EqBand& band)
{
    return QStringLiteral("# QIR-EQ band %1: %2, %3 Hz (step %4), Q %5 (step %6), %7 dB")
        .arg(bandNumber)
        .arg(TypeName(band.BandType), FrequencyText(band.BandFreq))
        .arg(band.BandFreq)
        .arg(QText(band.BandQ))
        .arg(band.BandQ)
        .arg(SignedDb(ShownGainDb(band.BandGain)));
}

std::optional<UnitBandNote> ReadUnitBandNote(const QString& line)
{
    static const QRegularExpression note(
        QStringLiteral("^#\\s*QIR-EQ band ([1-5]):\\s*(Peak|Low Shelf|High Shelf),\\s*[0-9.]+ Hz "
                       "\\(step ([0-9]+)\\),\\s*Q [0-9.]+ \\(step ([0-9]+)\\),\\s*([+-]?[0-9]+) dB\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = note.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    UnitBandNote result;
    result.BandNumber = match.captured(1).toInt();
    const QString type = match.captured(2);
    result.Band.BandType = type.compare(QLatin1String("Peak"), Qt::CaseInsensitive) == 0 ? kPeak
                           : type.startsWith(QLatin1String("Low"), Qt::CaseInsensitive)
                               ? kLowShelf
                               : kHighShelf;
    result.Band.BandFreq = match.captured(3).toInt();
    result.Band.BandQ = match.captured(4).toInt();
    const int gainDb = match.captured(5).toInt();
    if (result.Band.BandFreq > kMaxFreqStep || result.Band.BandQ > kMaxQStep || gainDb < -12 ||
        gainDb > 12)
        return std::nullopt;
    result.Band.BandGain = NearestGainCode(gainDb);
    result.Band.GainShownDb = gainDb;
    result.Band.BandOff = result.Band.BandOffShown = 0;
    return result;
}

}  // namespace qireq
