#pragma once
// One qireq-ctl command as typed on the command line or on one line of a
// batch file: which units, which subcommand with its arguments, and how to
// print. Parsing only: nothing here touches a unit or a file.
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace qireq::ctl {

enum class OutputFormat { Text, Json, JsonLines };

// Which units a command acts on. Several of each may be given.
struct Selection {
    QStringList Serial;  // port names or paths (--serial)
    QStringList Tcp;     // HOST or HOST:PORT (--tcp)
    QStringList Units;   // names or addresses found by discovery (--unit, import --to)
    bool All = false;    // every unit discovery finds (--all)

    bool IsEmpty() const { return Serial.isEmpty() && Tcp.isEmpty() && Units.isEmpty() && !All; }
    bool NeedsDiscovery() const { return All || !Units.isEmpty(); }
};

struct CtlCommand {
    QStringList Words;  // the subcommand: {"eq", "set"}, {"info"}, ...
    QStringList Args;   // its positional arguments
    // Its options: "type", "freq", "q", "gain", "seconds", "out" (import's
    // -o), and the flags "on" and "off" (value "1").
    QMap<QString, QString> Options;
    Selection Units;
    std::optional<OutputFormat> Format;
    QString BatchFile;  // -f FILE, "-" for standard input
    std::optional<int> TimeoutMs;
    bool Help = false;
    bool Version = false;
    QString Error;  // not empty: the line could not be read

    QString Name() const { return Words.join(QLatin1Char(' ')); }
    bool Has(const QString& option) const { return Options.contains(option); }
};

// tokens: the arguments without the program name (or one batch line split).
CtlCommand ParseCommand(const QStringList& tokens);

// One batch line split into words: blanks separate, "..." and '...' group,
// a backslash escapes the next character. Absent for a comment or an empty
// line; an unclosed quote sets *error.
std::optional<QStringList> SplitBatchLine(const QString& line, QString* error);

// The subcommands and the number of positional arguments each takes.
// Empty when the command is well formed, else the message to print.
QString CheckShape(const CtlCommand& command);

// `qireq-ctl --help`.
QString HelpText();

// "text", "json", "jsonl" (also "jsonline").
std::optional<OutputFormat> ParseFormat(const QString& text);

}  // namespace qireq::ctl
