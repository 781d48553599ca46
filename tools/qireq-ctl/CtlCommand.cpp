#include "CtlCommand.h"

#include <QRegularExpression>

namespace qireq::ctl {

namespace {

bool LooksLikeNumber(const QString& token)
{
    static const QRegularExpression number(QStringLiteral(R"(^[-+]?(\d+\.?\d*|\.\d+)$)"));
    return number.match(token).hasMatch();
}

// Options of a subcommand that take a value, by their long name.
bool SubcommandValueOption(const QString& name)
{
    return name == QLatin1String("type") || name == QLatin1String("freq") || name == QLatin1String("q")
        || name == QLatin1String("gain") || name == QLatin1String("seconds") || name == QLatin1String("to");
}

bool SubcommandFlag(const QString& name)
{
    return name == QLatin1String("on") || name == QLatin1String("off");
}

// Words that take a second word: "eq set", "preset push".
bool TakesSecondWord(const QString& first)
{
    return first == QLatin1String("eq") || first == QLatin1String("preset");
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
    auto fail = [&c](const QString& message) {
        if (c.Error.isEmpty())
            c.Error = message;
    };

    for (int i = 0; i < tokens.size(); ++i) {
        QString token = tokens.at(i);
        QString inlineValue;
        bool hasInline = false;
        if (token.startsWith(QLatin1String("--")) && token.contains(QLatin1Char('='))) {
            const int eq = static_cast<int>(token.indexOf(QLatin1Char('=')));
            inlineValue = token.mid(eq + 1);
            token = token.left(eq);
            hasInline = true;
        }
        auto value = [&](const QString& name) -> std::optional<QString> {
            if (hasInline)
                return inlineValue;
            if (i + 1 >= tokens.size()) {
                fail(QStringLiteral("%1 needs a value").arg(name));
                return std::nullopt;
            }
            return tokens.at(++i);
        };

        const bool isImport = !c.Words.isEmpty() && c.Words.first() == QLatin1String("import");
        if (token == QLatin1String("-h") || token == QLatin1String("--help")) {
            c.Help = true;
        } else if (token == QLatin1String("--version")) {
            c.Version = true;
        } else if (token == QLatin1String("--serial")) {
            if (auto v = value(token))
                c.Units.Serial << *v;
        } else if (token == QLatin1String("--tcp")) {
            if (auto v = value(token))
                c.Units.Tcp << *v;
        } else if (token == QLatin1String("--unit")) {
            if (auto v = value(token))
                c.Units.Units << *v;
        } else if (token == QLatin1String("--all")) {
            c.Units.All = true;
        } else if (token == QLatin1String("-o") && isImport) {
            // import FILE -o PRESET.bin: here -o names the preset to write.
            if (auto v = value(token))
                c.Options.insert(QStringLiteral("out"), *v);
        } else if (token == QLatin1String("-o") || token == QLatin1String("--output")) {
            if (auto v = value(token)) {
                c.Format = ParseFormat(*v);
                if (!c.Format)
                    fail(QStringLiteral("unknown output format \"%1\" (text, json or jsonl)").arg(*v));
            }
        } else if (token == QLatin1String("-f") || token == QLatin1String("--file")) {
            if (auto v = value(token))
                c.BatchFile = *v;
        } else if (token == QLatin1String("--timeout")) {
            if (auto v = value(token)) {
                bool ok = false;
                const double seconds = v->toDouble(&ok);
                if (!ok || seconds <= 0 || seconds > 3600)
                    fail(QStringLiteral("--timeout wants seconds (more than 0), not \"%1\"").arg(*v));
                else
                    c.TimeoutMs = static_cast<int>(seconds * 1000.0 + 0.5);
            }
        } else if (token.startsWith(QLatin1String("--")) && SubcommandValueOption(token.mid(2))) {
            const QString name = token.mid(2);
            if (auto v = value(token)) {
                if (name == QLatin1String("to"))
                    c.Units.Units << *v;
                else
                    c.Options.insert(name, *v);
            }
        } else if (token.startsWith(QLatin1String("--")) && SubcommandFlag(token.mid(2))) {
            c.Options.insert(token.mid(2), QStringLiteral("1"));
        } else if (token.startsWith(QLatin1Char('-')) && token.size() > 1 && !LooksLikeNumber(token)) {
            fail(QStringLiteral("unknown option %1").arg(token));
        } else if (c.Words.isEmpty()) {
            c.Words << token;
        } else if (c.Words.size() == 1 && TakesSecondWord(c.Words.first())) {
            c.Words << token;
        } else {
            c.Args << token;
        }
    }
    if (c.Has(QStringLiteral("on")) && c.Has(QStringLiteral("off")))
        fail(QStringLiteral("--on and --off exclude each other"));
    return c;
}

QString CheckShape(const CtlCommand& c)
{
    struct Shape {
        const char* name;
        int args;
        const char* usage;
        const char* options;  // the subcommand options it accepts, space separated
    };
    static const Shape shapes[] = {
        {"discover", 0, "discover [--seconds N]", "seconds"},
        {"info", 0, "info", ""},
        {"status", 0, "status", ""},
        {"usage", 0, "usage", ""},
        {"eq show", 0, "eq show", ""},
        {"eq set", 1, "eq set BAND [--type peak|low-shelf|high-shelf] [--freq HZ] [--q Q] [--gain DB] [--on|--off]",
         "type freq q gain on off"},
        {"eq trim", 1, "eq trim DB", ""},
        {"eq bypass", 1, "eq bypass on|off", ""},
        {"eq reset", 0, "eq reset", ""},
        {"preset pull", 1, "preset pull FILE", ""},
        {"preset push", 1, "preset push FILE", ""},
        {"rename", 1, "rename NAME", ""},
        {"import", 1, "import FILE -o PRESET.bin [--to UNIT]...", "out"},
        {"export", 1, "export PRESET.bin", ""},
    };
    const QString name = c.Name();
    if (name.isEmpty())
        return QStringLiteral("no command given (try qireq-ctl --help)");
    for (const Shape& s : shapes) {
        if (name != QLatin1String(s.name))
            continue;
        if (c.Args.size() != s.args)
            return QStringLiteral("usage: qireq-ctl %1").arg(QLatin1String(s.usage));
        const QStringList allowed = QString::fromLatin1(s.options).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (auto it = c.Options.cbegin(); it != c.Options.cend(); ++it) {
            // --seconds is discovery's: any command with --unit or --all.
            if (!allowed.contains(it.key()) && it.key() != QLatin1String("seconds"))
                return QStringLiteral("%1 takes no --%2 (usage: qireq-ctl %3)")
                    .arg(name, it.key() == QLatin1String("out") ? QStringLiteral("-o FILE") : it.key(),
                         QLatin1String(s.usage));
        }
        if (name == QLatin1String("import") && !c.Has(QStringLiteral("out")))
            return QStringLiteral("import needs -o PRESET.bin (usage: qireq-ctl %1)").arg(QLatin1String(s.usage));
        return {};
    }
    return QStringLiteral("unknown command \"%1\" (try qireq-ctl --help)").arg(name);
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
