#include "report/ReportContent.h"

#include "eq/EqDisplay.h"
#include "eq/EqEncoding.h"
#include "protocol/InfoMessageText.h"
#include "protocol/ReplyFields.h"

#include <QDir>
#include <QLocale>
#include <QStringList>

namespace qireq {

namespace {

QString OnOff(bool on)
{
    return on ? QStringLiteral("On") : QStringLiteral("Off");
}

QString Alarm(bool alarm)
{
    return alarm ? QStringLiteral("Alarm") : QStringLiteral("Normal");
}

QString SignedDb(int db)
{
    return (db > 0 ? QStringLiteral("+") : QString()) + QString::number(db) + QStringLiteral(" dB");
}

QString MacText(const QString& mac)
{
    if (mac.isEmpty() || mac == kUnknownMac)
        return QStringLiteral("not reported");
    QStringList pairs;
    for (int i = 0; i + 1 < mac.size(); i += 2)
        pairs << mac.mid(i, 2).toUpper();
    return pairs.join(QLatin1Char(':'));
}

QString LinkText(const DeviceEntry& unit)
{
    return unit.IsSerial() ? QStringLiteral("Port %1").arg(QDir::toNativeSeparators(unit.Address))
                           : QStringLiteral("IP %1").arg(unit.Address);
}

QString WhenText(const QDateTime& when)
{
    return QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm"));
}

}  // namespace

ReportContent MakeReportContent(const EqState& eq, bool connected, const std::optional<DeviceEntry>& unit,
                                const UnitFacts& facts, const QDateTime& when, const QString& note)
{
    ReportContent report;
    report.FromLiveUnit = connected;
    report.Note = note;
    auto fact = [&](const char* label, const QString& value) {
        report.Facts.emplace_back(QString::fromLatin1(label), value);
    };

    if (connected && !unit) {
        // Connected to a unit that has since left the list: its details went with it.
        fact("Unit", QStringLiteral("not listed"));
    } else if (connected) {
        fact("Unit", unit->Name);
        fact("Link", LinkText(*unit));
        fact("MAC", MacText(unit->Mac));
        fact("Capability", facts.Capability ? QString::number(*facts.Capability) : QStringLiteral("not reported"));
    } else {
        fact("Unit", kNotConnectedText);
    }
    fact("Date and time", WhenText(when));
    if (unit && connected && facts.Status && facts.Capability && *facts.Capability >= kStatusCapability) {
        const StatusReading& s = *facts.Status;
        fact("Temperature", s.TempText);
        fact("Protection", Alarm(s.ProtectAlarm));
        fact("Over-temperature", Alarm(s.TempAlarm));
        fact("Voltage", Alarm(s.VoltageAlarm));
        fact("Standby", s.Standby ? QStringLiteral("Standby") : QStringLiteral("Normal"));
    }
    if (unit && connected && facts.BurnCount && facts.TotalMinutes) {
        fact("Burn count", QString::number(*facts.BurnCount));
        // The "More Info" text's second line: "Time:3 days, 4 hours, 5 minutes".
        const QString info = InfoMessageText(*facts.BurnCount, *facts.TotalMinutes);
        fact("Operating time", info.mid(info.indexOf(QStringLiteral("Time:")) + 5));
    }

    report.Trim = SignedDb(eq.Trim);
    report.Bypass = OnOff(eq.Bypass);
    for (int n = 1; n <= kBandCount; ++n) {
        const EqBand& band = eq.Bands[static_cast<std::size_t>(n - 1)];
        // The off flag the editor shows: the unit's while connected.
        const int off = connected ? band.BandOffShown : band.BandOff;
        ReportBandRow& row = report.Bands[static_cast<std::size_t>(n - 1)];
        row.Band = QString::number(n);
        row.Type = TypeName(band.BandType);
        row.Frequency = FrequencyText(band.BandFreq) + QStringLiteral(" Hz");
        row.Q = QText(band.BandQ);
        row.Gain = SignedDb(ShownGainDb(band.BandGain));
        row.OnOff = OnOff(off == 0);
    }
    return report;
}

ReportContent UnreadReportContent(const DeviceEntry& unit, const QDateTime& when, const QString& why,
                                  const QString& note)
{
    ReportContent report;
    report.FromLiveUnit = false;
    report.Note = note;
    report.Failure = why;
    report.Facts.emplace_back(QStringLiteral("Unit"), unit.Name);
    report.Facts.emplace_back(QStringLiteral("Link"), LinkText(unit));
    report.Facts.emplace_back(QStringLiteral("Date and time"), WhenText(when));
    return report;
}

QString ReportPdfName(const QString& chosen)
{
    return chosen.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? chosen : chosen + QStringLiteral(".pdf");
}

QString ReportPngName(const QString& pdfName)
{
    return pdfName.left(pdfName.size() - 4) + QStringLiteral(".png");
}

}  // namespace qireq
