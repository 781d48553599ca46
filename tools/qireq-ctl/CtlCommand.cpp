#include "CtlCommand.h"

#include "ArgumentReader.h"
#include "CtlSubcommands.h"

namespace qireq::ctl {

namespace {

// import's -o PRESET.bin is kept as the option "out"; there is no --out.
const QString kOutOption = QStringLiteral("out");

// Options of some subcommand that take a value, by their long name.
bool SubcommandValueOption(const QString& name)
{
    if (name == kOutOption)
        return false;
    for (const Subcommand& s : Subcommands()) {
        if (s.Options.contains(name))
            return true;
    }
    return false;
}

bool SubcommandFlag(const QString& name)
{
    for (const Subcommand& s : Subcommands()) {
        if (s.Flags.contains(name))
            return true;
    }
    return false;
}

// Words that take a second word: "eq set", "preset push".
bool TakesSecondWord(const QString& first)
{
    for (const Subcommand& s : Subcommands()) {
        if (s.Name.startsWith(first + QLatin1Char(' ')))
            return true;
    }
    return false;
}

bool TakesMinusO(const CtlCommand& c)
{
    const Subcommand* s = FindSubcommand(c.Name());
    return s && s->Options.contains(kOutOption);
}

}  // namespace

std::optional<OutputFormat> ParseFormat(const QString& text)
{
    if (text == QLatin1String("text"))
        return OutputFormat::Text;
    if (text == QLatin1String("json"))
        return OutputFormat::Json;
    if (text == QLatin1String("jsonl") || text == QLatin1String("jsonline"))
        return OutputFormat::JsonLines;
    return std::nullopt;
}

CtlCommand ParseCommand(const QStringList& tokens)
{
    CtlCommand c;
    tools::ArgumentReader reader(tokens);

    while (!reader.AtEnd()) {
        const QString token = reader.Next();
        if (token == QLatin1String("-h") || token == QLatin1String("--help")) {
            c.Help = true;
        } else if (token == QLatin1String("--version")) {
            c.Version = true;
        } else if (token == QLatin1String("--serial")) {
            if (auto v = reader.Value())
                c.Units.Serial << *v;
        } else if (token == QLatin1String("--tcp")) {
            if (auto v = reader.Value())
                c.Units.Tcp << *v;
        } else if (token == QLatin1String("--unit")) {
            if (auto v = reader.Value())
                c.Units.Units << *v;
        } else if (token == QLatin1String("--all")) {
            c.Units.All = true;
        } else if (token == QLatin1String("-o") && TakesMinusO(c)) {
            // import FILE -o PRESET.bin: here -o names the preset to write.
            if (auto v = reader.Value())
                c.Options.insert(kOutOption, *v);
        } else if (token == QLatin1String("-o") || token == QLatin1String("--output")) {
            if (auto v = reader.Value()) {
                c.Format = ParseFormat(*v);
                if (!c.Format)
                    reader.Fail(QStringLiteral("unknown output format \"%1\" (text, json or jsonl)").arg(*v));
            }
        } else if (token == QLatin1String("-f") || token == QLatin1String("--file")) {
            if (auto v = reader.Value())
                c.BatchFile = *v;
        } else if (token == QLatin1String("--timeout")) {
            if (auto v = reader.Value()) {
                bool ok = false;
                const double seconds = v->toDouble(&ok);
                if (!ok || seconds <= 0 || seconds > 3600)
                    reader.Fail(QStringLiteral("--timeout wants seconds (more than 0), not \"%1\"").arg(*v));
                else
                    c.TimeoutMs = static_cast<int>(seconds * 1000.0 + 0.5);
            }
        } else if (token.startsWith(QLatin1String("--")) && SubcommandValueOption(token.mid(2))) {
            const QString name = token.mid(2);
            if (auto v = reader.Value()) {
                if (name == QLatin1String("to"))
                    c.Units.Units << *v;
                else
                    c.Options.insert(name, *v);
            }
        } else if (token.startsWith(QLatin1String("--")) && SubcommandFlag(token.mid(2))) {
            c.Options.insert(token.mid(2), QStringLiteral("1"));
        } else if (reader.IsOption()) {
            reader.Fail(QStringLiteral("unknown option %1").arg(token));
        } else if (c.Words.isEmpty()) {
            c.Words << token;
        } else if (c.Words.size() == 1 && TakesSecondWord(c.Words.first())) {
            c.Words << token;
        } else {
            c.Args << token;
        }
    }
    if (c.Has(QStringLiteral("on")) && c.Has(QStringLiteral("off")))
        reader.Fail(QStringLiteral("--on and --off exclude each other"));
    c.Error = reader.Error();
    return c;
}

QString CheckShape(const CtlCommand& c)
{
    const QString name = c.Name();
    if (name.isEmpty())
        return QStringLiteral("no command given (try qireq-ctl --help)");
    const Subcommand* s = FindSubcommand(name);
    if (!s)
        return QStringLiteral("unknown command \"%1\" (try qireq-ctl --help)").arg(name);
    if (c.Args.size() != s->Args)
        return QStringLiteral("usage: qireq-ctl %1").arg(s->Usage);
    for (auto it = c.Options.cbegin(); it != c.Options.cend(); ++it) {
        // --seconds is discovery's: any command with --unit or --all.
        const QString& key = it.key();
        if (!s->Options.contains(key) && !s->Flags.contains(key) && key != QLatin1String("seconds"))
            return QStringLiteral("%1 takes no --%2 (usage: qireq-ctl %3)")
                .arg(name, key == kOutOption ? QStringLiteral("-o FILE") : key, s->Usage);
    }
    if (s->Options.contains(kOutOption) && !c.Has(kOutOption))
        return QStringLiteral("%1 needs -o PRESET.bin (usage: qireq-ctl %2)").arg(name, s->Usage);
    return {};
}

std::optional<QStringList> SplitBatchLine(const QString& line, QString* error)
{
    QStringList words;
    QString current;
    bool inWord = false;
    QChar quote;
    for (int i = 0; i < line.size(); ++i) {
        const QChar ch = line.at(i);
        if (!quote.isNull()) {
            if (ch == quote)
                quote = QChar();
            else if (ch == QLatin1Char('\\') && quote == QLatin1Char('"') && i + 1 < line.size())
                current += line.at(++i);
            else
                current += ch;
            continue;
        }
        if (ch == QLatin1Char('#') && !inWord)
            break;  // a comment runs to the end of the line
        if (ch.isSpace()) {
            if (inWord)
                words << current;
            current.clear();
            inWord = false;
        } else if (ch == QLatin1Char('"') || ch == QLatin1Char('\'')) {
            quote = ch;
            inWord = true;
        } else if (ch == QLatin1Char('\\') && i + 1 < line.size()) {
            current += line.at(++i);
            inWord = true;
        } else {
            current += ch;
            inWord = true;
        }
    }
    if (!quote.isNull()) {
        if (error)
            *error = QStringLiteral("unclosed quote");
        return std::nullopt;
    }
    if (inWord)
        words << current;
    if (words.isEmpty())
        return std::nullopt;
    return words;
}

}  // namespace qireq::ctl
