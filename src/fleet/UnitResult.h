#pragma once
// What one command did on one unit: success or the reason it failed, the
// lines printed for it in text output and its fields in JSON output.
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace qireq::fleet {

struct UnitResult {
    QString Unit;        // the target's label: port or HOST:PORT
    QString Name;        // the unit's own name, when it told it
    bool Ok = false;
    QString Error;       // why it failed
    QStringList Lines;   // text output
    QJsonObject Fields;  // JSON output: the command's own fields
    qint64 Ms = 0;       // wall time spent on this unit
    bool Cancelled = false;  // never served: the run was cancelled first
};

}  // namespace qireq::fleet
