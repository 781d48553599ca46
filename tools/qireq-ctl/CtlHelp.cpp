// The text of `qireq-ctl --help`: the subcommands from their table.
#include "CtlCommand.h"
#include "CtlSubcommands.h"

#include <QRegularExpression>

namespace qireq::ctl {

namespace {

constexpr int kHelpWidth = 76;
constexpr int kHelpColumn = 27;

// "  usage   first help line", the rest of the help under it; a usage too
// long for the column stands on lines of its own, wrapped.
QString CommandLines(const Subcommand& s)
{
    const QString pad(kHelpColumn, QLatin1Char(' '));
    QStringList help = s.Help.split(QLatin1Char('\n'));
    QString text;
    if (s.Usage.size() + 4 <= kHelpColumn) {
        text = QStringLiteral("  ") + s.Usage.leftJustified(kHelpColumn - 2) + help.takeFirst() + QLatin1Char('\n');
    } else {
        QString line = QStringLiteral("  ");
        // A bracketed option is never split.
        static const QRegularExpression words(QStringLiteral(R"(\[[^\]]*\]\S*|\S+)"));
        for (const auto& match : words.globalMatch(s.Usage)) {
            const QString word = match.captured();
            if (line.trimmed().size() > 0 && line.size() + 1 + word.size() > kHelpWidth) {
                text += line + QLatin1Char('\n');
                line = QStringLiteral("         ");
            }
            line += (line.trimmed().isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        text += line + QLatin1Char('\n');
    }
    for (const QString& more : help)
        text += pad + more + QLatin1Char('\n');
    return text;
}

}  // namespace

QString HelpText()
{
    QString commands = QStringLiteral("Commands:\n");
    for (const Subcommand& s : Subcommands())
        commands += CommandLines(s);
    return QStringLiteral(R"(Usage: qireq-ctl [UNITS] [OPTIONS] COMMAND [ARGUMENTS]
       qireq-ctl [UNITS] [OPTIONS] -f FILE

Finds QIR-EQ units, reads and sets their EQ, and pushes presets, on many
units at once. Every write is checked: the unit's echo and a read-back of
its EQ block must hold what was sent, or that unit fails.

Units (several of each may be given; every command acts on all of them):
  --serial PORT        a unit on a serial port (/dev/ttyUSB0, COM3)
  --tcp HOST[:PORT]    a unit on the network (port 5000 when not given)
  --unit NAME|ADDRESS  a unit found by discovery, by name, address or MAC
  --all                every unit discovery finds
  --seconds N          how long discovery listens for --unit and --all
                       (default 3; it stops early once every --unit given
                       as an IPv4 address has answered)

)")
        + commands + QLatin1Char('\n') + QStringLiteral(R"(Options:
  -o, --output FORMAT      text (default), json or jsonl
  -f, --file FILE          one command per line ("-": standard input); '#'
                           starts a comment; UNITS given here hold for lines
                           that name none
  --timeout SECONDS        how long to wait for each answer (default 2)
  -h, --help               this text
  --version                the version

Exit status: 0 when every command succeeded on every unit, 1 when some
unit or command failed, 2 for a command line that could not be read.

Examples:
  qireq-ctl discover
  qireq-ctl --tcp 192.168.1.40 eq set 3 --freq 1000 --gain -3.5 --q 2
  qireq-ctl --all preset push hall.bin
  qireq-ctl --serial /dev/ttyUSB0 -o json status
)");
}

}  // namespace qireq::ctl
