#include "CtlRunner.h"

#include "CtlSubcommands.h"
#include "CtlFleet.h"
#include "UnitCommands.h"
#include "state/ApplicationTitle.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>

namespace qireq::ctl {

namespace {

int DiscoverMs(const CtlCommand& c)
{
    bool ok = false;
    const double s = c.Options.value(QStringLiteral("seconds")).toDouble(&ok);
    return ok && s > 0 ? static_cast<int>(s * 1000.0 + 0.5) : kDefaultDiscoverMs;
}

bool LooksLikeIpv4(const QString& text)
{
    static const QRegularExpression ip(QStringLiteral(R"(^\d{1,3}(\.\d{1,3}){3}$)"));
    return ip.match(text).hasMatch();
}

QString SecondsText(int ms) { return QStringLiteral("%1 s").arg(ms / 1000.0, 0, 'f', 1); }

}  // namespace

int CtlRunner::Run(const QStringList& arguments)
{
    const CtlCommand c = ParseCommand(arguments);
    if (c.Help) {
        out_ << HelpText();
        out_.flush();
        return 0;
    }
    if (c.Version) {
        out_ << "qireq-ctl " << ApplicationVersion() << "\n";
        out_.flush();
        return 0;
    }
    const OutputFormat format = c.Format.value_or(OutputFormat::Text);
    if (!c.Error.isEmpty()) {
        CommandReport r;
        r.Command = c.Name();
        r.Error = c.Error;
        Print(r, format);
        Finish(format);
        return 2;
    }
    if (!c.BatchFile.isEmpty())
        return RunBatch(c);
    const CommandReport r = RunCommand(c);
    Print(r, format);
    Finish(format);
    if (r.Ok())
        return 0;
    return r.Unreadable ? 2 : 1;
}

int CtlRunner::RunBatch(const CtlCommand& global)
{
    batch_ = true;
    const OutputFormat format = global.Format.value_or(OutputFormat::Text);
    QFile file;
    bool opened = false;
    if (global.BatchFile == QLatin1String("-"))
        opened = file.open(stdin, QIODevice::ReadOnly | QIODevice::Text);
    else {
        file.setFileName(global.BatchFile);
        opened = file.open(QIODevice::ReadOnly | QIODevice::Text);
    }
    if (!opened) {
        CommandReport r;
        r.Error = QStringLiteral("Cannot open file %1").arg(global.BatchFile);
        Print(r, format);
        Finish(format);
        return 2;
    }
    bool allOk = true;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++lineNumber;
        QString splitError;
        const auto words = SplitBatchLine(line, &splitError);
        if (!words && splitError.isEmpty())
            continue;  // blank or comment
        CtlCommand c = words ? ParseCommand(*words) : CtlCommand{};
        if (!words)
            c.Error = splitError;
        if (!c.Error.isEmpty())
            c.Error = QStringLiteral("line %1: %2").arg(lineNumber).arg(c.Error);
        else if (!c.BatchFile.isEmpty())
            c.Error = QStringLiteral("line %1: -f may not be nested").arg(lineNumber);
        // The command line's units, format and time limit hold for every
        // line that names none of its own.
        if (c.Units.IsEmpty())
            c.Units = global.Units;
        if (!c.TimeoutMs)
            c.TimeoutMs = global.TimeoutMs;
        CommandReport r;
        if (c.Error.isEmpty())
            r = RunCommand(c);
        else {
            r.Command = c.Name();
            r.Error = c.Error;
        }
        allOk = allOk && r.Ok();
        Print(r, format, line);
    }
    Finish(format);
    return allOk ? 0 : 1;
}

void CtlRunner::Print(const CommandReport& r, OutputFormat format, const QString& batchLine)
{
    switch (format) {
    case OutputFormat::Text:
        if (batch_ && !batchLine.isEmpty())
            out_ << "> " << batchLine << '\n';
        out_ << RenderText(r);
        out_.flush();
        if (!r.Error.isEmpty()) {
            err_ << "qireq-ctl: " << r.Error << '\n';
            err_.flush();
        }
        break;
    case OutputFormat::Json:
        if (batch_) {
            jsonReports_.append(ToJson(r));
        } else {
            out_ << QString::fromUtf8(QJsonDocument(ToJson(r)).toJson(QJsonDocument::Indented));
            out_.flush();
        }
        break;
    case OutputFormat::JsonLines:
        for (const QString& line : ToJsonLines(r))
            out_ << line << '\n';
        out_.flush();
        break;
    }
}

void CtlRunner::Finish(OutputFormat format)
{
    if (format == OutputFormat::Json && batch_) {
        out_ << QString::fromUtf8(QJsonDocument(jsonReports_).toJson(QJsonDocument::Indented));
        out_.flush();
    }
}

const std::vector<FoundUnit>& CtlRunner::Found(const CtlCommand& c)
{
    if (!found_) {
        DiscoverySettings settings;
        settings.Ms = DiscoverMs(c);
        settings.TimeoutMs = c.TimeoutMs.value_or(kDefaultTimeoutMs);
        settings.ExtraSerial = c.Units.Serial;
        if (!c.Units.All) {
            for (const QString& u : c.Units.Units) {
                if (!LooksLikeIpv4(u)) {
                    settings.WantedAddresses.clear();
                    break;
                }
                settings.WantedAddresses << u;
            }
        }
        foundNotes_.clear();
        found_ = Discover(settings, &foundNotes_);
    }
    return *found_;
}

bool CtlRunner::SelectUnits(const CtlCommand& c, std::vector<UnitTarget>& targets, CommandReport& report)
{
    QSet<QString> seen;
    auto add = [&](const UnitTarget& t) {
        if (!seen.contains(t.Label())) {
            seen.insert(t.Label());
            targets.push_back(t);
        }
    };
    for (const QString& p : c.Units.Serial)
        add(UnitTarget::Serial(p));
    for (const QString& t : c.Units.Tcp) {
        QString error;
        const auto target = ParseTcpTarget(t, &error);
        if (!target) {
            report.Error = error;
            report.Unreadable = true;
            return false;
        }
        add(*target);
    }
    if (c.Units.NeedsDiscovery()) {
        const auto& found = Found(c);
        report.Notes << foundNotes_;
        if (c.Units.All) {
            int added = 0;
            for (const FoundUnit& f : found) {
                if (f.Identity.Ok) {
                    add(f.Target);
                    ++added;
                }
            }
            if (added == 0 && c.Units.Units.isEmpty() && targets.empty()) {
                report.Error = QStringLiteral("--all: discovery found no unit within %1").arg(SecondsText(DiscoverMs(c)));
                return false;
            }
        }
        for (const QString& u : c.Units.Units) {
            if (const FoundUnit* f = MatchUnit(found, u)) {
                add(f->Target);
            } else {
                UnitResult missing;
                missing.Unit = u;
                missing.Error = QStringLiteral("no unit named or at \"%1\" was found within %2")
                                    .arg(u, SecondsText(DiscoverMs(c)));
                report.Units.push_back(missing);
            }
        }
    }
    if (targets.empty() && report.Units.empty()) {
        report.Error = QStringLiteral("no unit selected: give --serial PORT, --tcp HOST[:PORT], --unit NAME or --all");
        report.Unreadable = c.Units.IsEmpty();
        return false;
    }
    return true;
}

CommandReport CtlRunner::RunCommand(const CtlCommand& c)
{
    CommandReport report;
    report.Command = c.Name();
    if (const QString shape = CheckShape(c); !shape.isEmpty()) {
        report.Error = shape;
        report.Unreadable = true;
        return report;
    }
    const Subcommand& sub = *FindSubcommand(report.Command);
    if (sub.Where == Reach::Discovery)
        return RunDiscover(c);

    const Prepared prepared = sub.Prepare(c);
    report.Notes = prepared.Notes;
    report.Extra = prepared.Extra;
    report.UnitsExpected =
        sub.Where != Reach::NoUnits && !(sub.Where == Reach::UnitsOptional && c.Units.IsEmpty());
    if (!prepared.Error.isEmpty()) {
        report.Error = prepared.Error;
        report.Unreadable = prepared.Unreadable;
        return report;
    }
    if (!report.UnitsExpected || !prepared.OnUnit)
        return report;
    std::vector<UnitTarget> targets;
    if (!SelectUnits(c, targets, report))
        return report;
    if (sub.Where == Reach::OneUnit && targets.size() + report.Units.size() > 1) {
        report.Error = QStringLiteral("%1 writes one file: select one unit").arg(sub.Name);
        report.Unreadable = true;
        report.Units.clear();
        return report;
    }
    const int timeoutMs = c.TimeoutMs.value_or(kDefaultTimeoutMs);
    const auto results =
        RunOnUnits(targets, [&prepared, timeoutMs](const UnitTarget& t) { return RunOnUnit(prepared, t, timeoutMs); });
    report.Units.insert(report.Units.begin(), results.begin(), results.end());
    if (prepared.AfterUnits)
        prepared.AfterUnits(report.Units, report.Notes, report.Extra, report.Error);
    return report;
}

CommandReport CtlRunner::RunDiscover(const CtlCommand& c)
{
    CommandReport report;
    report.Command = c.Name();
    found_.reset();  // discover always looks afresh
    const auto& found = Found(c);
    report.Units = DiscoverResults(found);
    report.Notes = foundNotes_;
    report.Extra.insert(QStringLiteral("not_probed"), QJsonArray::fromStringList(foundNotes_));
    report.Extra.insert(QStringLiteral("seconds"), DiscoverMs(c) / 1000.0);
    if (found.empty())
        report.Error = QStringLiteral("no unit found within %1").arg(SecondsText(DiscoverMs(c)));
    return report;
}

}  // namespace qireq::ctl
