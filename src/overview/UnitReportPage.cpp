#include "overview/UnitReportPage.h"

#include "filters/FilterExport.h"

namespace qireq {

namespace {

// The facts a read run left in r.Fields, as the window's report takes them.
UnitFacts FactsOf(const QJsonObject& fields)
{
    UnitFacts facts;
    if (fields.value(QStringLiteral("capability")).isDouble())
        facts.Capability = fields.value(QStringLiteral("capability")).toInt();
    if (fields.contains(QStringLiteral("temperature_text"))) {
        StatusReading s{};
        s.TempText = fields.value(QStringLiteral("temperature_text")).toString();
        s.ProtectAlarm = fields.value(QStringLiteral("protected")).toBool();
        s.TempAlarm = fields.value(QStringLiteral("temperature_alarm")).toBool();
        s.VoltageAlarm = fields.value(QStringLiteral("voltage_alarm")).toBool();
        s.Standby = fields.value(QStringLiteral("standby")).toBool();
        facts.Status = s;
    }
    if (fields.value(QStringLiteral("burn_count")).isDouble() && fields.value(QStringLiteral("minutes")).isDouble()) {
        facts.BurnCount = fields.value(QStringLiteral("burn_count")).toInt();
        facts.TotalMinutes = fields.value(QStringLiteral("minutes")).toInt();
    }
    return facts;
}

}  // namespace

ReportPage UnitReportPage(DeviceEntry listed, const fleet::UnitResult& r, const std::optional<EqBlock>& block,
                          const QDateTime& when, const QString& note)
{
    // What the unit told now goes before what the list remembered.
    if (!r.Name.isEmpty())
        listed.Name = r.Name;
    if (!r.Ok || !block) {
        const QString why = r.Error.isEmpty() ? QStringLiteral("its block was not read") : r.Error;
        return ReportPage{UnreadReportContent(listed, when, why, note), EqState{}};
    }
    const QString mac = r.Fields.value(QStringLiteral("mac")).toString();
    if (!mac.isEmpty())
        listed.Mac = mac;
    const EqState eq = ShownEqOf(*block);
    return ReportPage{MakeReportContent(eq, true, listed, FactsOf(r.Fields), when, note), eq};
}

}  // namespace qireq
