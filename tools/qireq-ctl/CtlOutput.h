#pragma once
// What one command printed, in the three output forms. JSON has one shape
// per subcommand (README "qireq-ctl"): the command object holds "command",
// "ok", "error" and a "units" array; every unit object holds "unit",
// "name", "ok", "error", "ms" and the subcommand's own fields, null where a
// failed unit could not fill them. jsonl prints one unit object per line,
// each with "command" added.
#include "CtlFleet.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace qireq::ctl {

struct CommandReport {
    QString Command;        // "eq set", "discover", ...
    QString Error;          // the command as a whole failed (bad value, no unit, ...)
    QStringList Notes;      // text printed before the units
    QJsonObject Extra;      // command-level fields ("snapped", "report", "text", ...)
    std::vector<UnitResult> Units;
    bool UnitsExpected = true;  // export and import without units have none
    bool Unreadable = false;    // the error is the command line's: exit status 2

    bool Ok() const;
};

// The subcommand's own unit fields, for the stable shape.
QStringList UnitFieldKeys(const QString& command);

QString RenderText(const CommandReport& report);  // stdout text; the error goes to stderr
QJsonObject ToJson(const CommandReport& report);
QStringList ToJsonLines(const CommandReport& report);

}  // namespace qireq::ctl
