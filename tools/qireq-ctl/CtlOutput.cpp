#include "CtlOutput.h"

#include "CtlSubcommands.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace qireq::ctl {

namespace {

QJsonValue TextOrNull(const QString& text) { return text.isEmpty() ? QJsonValue() : QJsonValue(text); }

QJsonObject UnitJson(const QString& command, const UnitResult& u)
{
    QJsonObject o;
    o.insert(QStringLiteral("unit"), u.Unit);
    o.insert(QStringLiteral("name"), TextOrNull(u.Name));
    o.insert(QStringLiteral("ok"), u.Ok);
    o.insert(QStringLiteral("error"), u.Ok ? QJsonValue() : QJsonValue(u.Error));
    o.insert(QStringLiteral("ms"), u.Ms);
    for (const QString& key : UnitFieldKeys(command))
        o.insert(key, u.Fields.contains(key) ? u.Fields.value(key) : QJsonValue());
    return o;
}

}  // namespace

bool CommandReport::Ok() const
{
    if (!Error.isEmpty())
        return false;
    if (UnitsExpected && Units.empty())
        return false;
    for (const UnitResult& u : Units) {
        if (!u.Ok)
            return false;
    }
    return true;
}

QString RenderText(const CommandReport& r)
{
    QStringList out;
    out << r.Notes;
    const Subcommand* command = FindSubcommand(r.Command);
    if (command && command->Where == Reach::Discovery) {
        // A list of what was found, not a report per unit.
        if (r.Error.isEmpty())
            out << QStringLiteral("found %1 unit(s)").arg(r.Units.size());
        for (const UnitResult& u : r.Units) {
            out << u.Lines;
            if (!u.Ok)
                out << QStringLiteral("  %1: FAILED: %2").arg(u.Unit, u.Error);
        }
    } else {
        for (const UnitResult& u : r.Units) {
            const QString who = u.Name.isEmpty() ? u.Unit : QStringLiteral("%1 (%2)").arg(u.Unit, u.Name);
            if (u.Ok) {
                out << QStringLiteral("%1: ok").arg(who);
                for (const QString& line : u.Lines)
                    out << QStringLiteral("  ") + line;
            } else {
                out << QStringLiteral("%1: FAILED: %2").arg(who, u.Error);
            }
        }
        if (r.Units.size() > 1) {
            qsizetype ok = 0;
            for (const UnitResult& u : r.Units)
                ok += u.Ok ? 1 : 0;
            out << QStringLiteral("%1 of %2 units succeeded").arg(ok).arg(r.Units.size());
        }
    }
    return out.isEmpty() ? QString() : out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QJsonObject ToJson(const CommandReport& r)
{
    QJsonObject o;
    o.insert(QStringLiteral("command"), r.Command);
    o.insert(QStringLiteral("ok"), r.Ok());
    o.insert(QStringLiteral("error"), TextOrNull(r.Error));
    for (auto it = r.Extra.begin(); it != r.Extra.end(); ++it)
        o.insert(it.key(), it.value());
    QJsonArray units;
    for (const UnitResult& u : r.Units)
        units.append(UnitJson(r.Command, u));
    o.insert(QStringLiteral("units"), units);
    return o;
}

QStringList ToJsonLines(const CommandReport& r)
{
    QStringList lines;
    auto line = [](const QJsonObject& o) { return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)); };
    if (r.Units.empty()) {
        QJsonObject o = ToJson(r);
        o.remove(QStringLiteral("units"));
        lines << line(o);
        return lines;
    }
    for (const UnitResult& u : r.Units) {
        QJsonObject o = UnitJson(r.Command, u);
        o.insert(QStringLiteral("command"), r.Command);
        lines << line(o);
    }
    return lines;
}

}  // namespace qireq::ctl
