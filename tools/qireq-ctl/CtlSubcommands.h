#pragma once
// Every qireq-ctl subcommand in one table: its name, arguments, options,
// usage and help, its JSON unit fields, and how it is prepared, run on a
// unit and rendered. Parsing, the help text, preparation, running and
// output all read this table; a subcommand is spelled nowhere else.
#include "CtlCommand.h"
#include "CtlFleet.h"

#include <QJsonObject>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace qireq::ctl {

// A subcommand with its values checked, before any unit is touched.
struct Prepared {
    QString Error;            // not empty: the command goes to no unit
    bool Unreadable = false;  // the error is the command line's (exit status 2)
    QStringList Notes;        // printed once before the units (text)
    QJsonObject Extra;        // command-level JSON fields ("snapped", "report", ...)
    // What it does on one unit, on that unit's own worker thread; absent
    // when it has nothing to do on units (export).
    std::function<bool(UnitSession&, UnitResult&)> OnUnit;
    // Once, after every unit is done (snapshot save writes its file): may
    // add notes and command-level fields, or set the command's error.
    std::function<void(const std::vector<UnitResult>& units, QStringList& notes, QJsonObject& extra, QString& error)>
        AfterUnits;

    static Prepared Usage(const QString& message)
    {
        Prepared p;
        p.Error = message;
        p.Unreadable = true;
        return p;
    }
    static Prepared Failed(const QString& message)
    {
        Prepared p;
        p.Error = message;
        return p;
    }
};

enum class Reach {
    Units,          // one or more units must be selected
    OneUnit,        // exactly one (preset pull writes one file)
    UnitsOptional,  // units only when given (import)
    NoUnits,        // never (export)
    Discovery,      // the command is the discovery itself
};

struct Subcommand {
    QString Name;      // "eq set"
    int Args = 0;      // positional arguments
    QStringList Options;  // options taking a value ("freq"; "out" is import's -o)
    QStringList Flags;    // options without one ("on", "off")
    QString Usage;     // "eq set BAND [--type ...]"
    QString Help;      // its lines in --help, '\n' between
    QStringList Fields;  // its own fields in each JSON unit object
    Reach Where = Reach::Units;
    std::function<Prepared(const CtlCommand&)> Prepare;  // absent for discover
};

const std::vector<Subcommand>& Subcommands();
const Subcommand* FindSubcommand(const QString& name);

// Builds a table row's Prepare from a subcommand's three parts: prepare
// reads the command into the subcommand's own Value; run does the work on
// one unit and gives its Outcome (absent with r.Error set on failure);
// render turns the Outcome into the unit's text lines and JSON fields.
template <class Value, class Outcome>
std::function<Prepared(const CtlCommand&)> Steps(Prepared (*prepare)(const CtlCommand&, Value&),
                                                 std::optional<Outcome> (*run)(UnitSession&, const Value&, UnitResult&),
                                                 void (*render)(const Value&, const Outcome&, UnitResult&))
{
    return [=](const CtlCommand& c) {
        Value value{};
        Prepared p = prepare(c, value);
        if (p.Error.isEmpty()) {
            p.OnUnit = [=](UnitSession& s, UnitResult& r) {
                const std::optional<Outcome> out = run(s, value, r);
                if (out)
                    render(value, *out, r);
                return out.has_value();
            };
        }
        return p;
    };
}

// The prepare of a subcommand without values.
struct NoValue {};
Prepared NothingToPrepare(const CtlCommand& c, NoValue& value);

}  // namespace qireq::ctl
