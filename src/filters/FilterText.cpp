#include "filters/FilterText.h"
#include "eq/Pi.h"

#include "filters/FilterNumbers.h"
#include "filters/ReferenceResponse.h"
#include "filters/UnitNotes.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <optional>

namespace qireq {

namespace {


// One filter as a line or a table row gives it, still as text.
struct FilterFields {
    int number = 0;
    bool on = true;
    QString type;      // the type's keyword: "PK", "LS", "LSC", ...
    QString typeText;  // the type as written: "PK", "LS 6dB", "LS Q", "LS_Q"
    bool qForm = false;           // REW's "LS Q" / "LS_Q": a shelf given by Q
    std::optional<double> slope;  // "LSC 10.8 dB", "LS 6dB"
    QString fc, gain, q, bwOctaves;
    QStringList unread;  // tokens the reader did not use
};

struct Verdict {
    LineOutcome outcome = LineOutcome::Read;
    QString reason;
    bool filter = false;  // the fields made a filter (read, or OFF and kept)
};

// "12dB" -> "12 dB", "1000Hz" -> "1000 Hz"; an exponent ("1e3") stays whole.
QStringList Tokenise(QString text)
{
    static const QRegularExpression numberThenWord(
        QStringLiteral("([0-9])([A-DF-Za-df-z]|[eE](?![+-]?[0-9]))"));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(numberThenWord, QStringLiteral("\\1 \\2"));
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool Is(const QString& token, const char* word)
{
    return token.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool IsNumber(const QString& token)
{
    return ParseFilterNumber(token).has_value() || ParseFrequency(token).has_value();
}

// What a filter type the unit has no counterpart for is called in a report.
QString UnsupportedKindName(const QString& type)
{
    const QString t = type.toUpper();
    if (t == QLatin1String("LP") || t == QLatin1String("LPQ") || t == QLatin1String("LP1"))
        return QStringLiteral("low-pass");
    if (t == QLatin1String("HP") || t == QLatin1String("HPQ") || t == QLatin1String("HP1"))
        return QStringLiteral("high-pass");
    if (t == QLatin1String("BP"))
        return QStringLiteral("band-pass");
    if (t == QLatin1String("NO"))
        return QStringLiteral("notch");
    if (t == QLatin1String("AP") || t == QLatin1String("AP1"))
        return QStringLiteral("all-pass");
    return QString();
}

// Reads "Fc 1000 Hz Gain -3 dB Q 2" style parameters from tokens[from...].
void ReadParameters(const QStringList& tokens, int from, FilterFields& fields)
{
    for (int i = from; i < tokens.size(); ++i) {
        const QString& t = tokens[i];
        const bool hasValue = i + 1 < tokens.size();
        if (Is(t, "Fc") && hasValue) {
            fields.fc = tokens[++i];
            if (i + 1 < tokens.size() && Is(tokens[i + 1], "Hz"))
                ++i;
        } else if (Is(t, "Gain") && hasValue) {
            fields.gain = tokens[++i];
            if (i + 1 < tokens.size() && Is(tokens[i + 1], "dB"))
                ++i;
        } else if (Is(t, "Q") && hasValue && IsNumber(tokens[i + 1])) {
            fields.q = tokens[++i];
        } else if (Is(t, "BW") && i + 2 < tokens.size() && Is(tokens[i + 1], "Oct")) {
            fields.bwOctaves = tokens[i + 2];
            i += 2;
        } else {
            fields.unread << t;
        }
    }
}

// Equalizer APO's bandwidth in octaves as the Q of the same cookbook filter.
double QOfBandwidth(double octaves, double hz)
{
    const double w0 = 2.0 * kPi * hz / kReferenceSampleRate;
    return 1.0 / (2.0 * std::sinh(std::log(2.0) / 2.0 * octaves * w0 / std::sin(w0)));
}

// Turns the text fields of a filter into a filter, or says why not.
Verdict Interpret(const FilterFields& f, int line, ImportedFilter& filter)
{
    const QString type = f.type.toUpper();
    if (type == QLatin1String("NONE"))
        return {LineOutcome::Skipped, QStringLiteral("an unused filter (None)")};
    if (type == QLatin1String("MODAL"))
        return {LineOutcome::Unsupported,
                QStringLiteral("REW's modal filter is set by a decay time, which the unit has no "
                               "counterpart for; enter it as a PK filter to import it")};
    const QString other = UnsupportedKindName(type);
    if (!other.isEmpty())
        return {LineOutcome::Unsupported,
                QStringLiteral("a %1 filter: the unit has only peak and shelf filters").arg(other)};

    filter = ImportedFilter{};
    filter.Line = line;
    filter.Number = f.number;
    filter.On = f.on;
    filter.TypeText = f.typeText.isEmpty() ? f.type : f.typeText;
    if (type == QLatin1String("PK") || type == QLatin1String("PEQ")) {
        filter.Kind = ImportedKind::Peak;
    } else if (type == QLatin1String("LS") || type == QLatin1String("LSC") ||
               type == QLatin1String("LS_Q")) {
        filter.Kind = ImportedKind::LowShelf;
    } else if (type == QLatin1String("HS") || type == QLatin1String("HSC") ||
               type == QLatin1String("HS_Q")) {
        filter.Kind = ImportedKind::HighShelf;
    } else {
        return {LineOutcome::NotUnderstood, QStringLiteral("unknown filter type \"%1\"").arg(f.type)};
    }

    if (f.fc.isEmpty())
        return {LineOutcome::NotUnderstood, QStringLiteral("no frequency (Fc)")};
    const std::optional<double> hz = ParseFrequency(f.fc);
    if (!hz || *hz <= 0.0 || *hz >= kReferenceSampleRate / 2)
        return {LineOutcome::NotUnderstood,
                QStringLiteral("frequency \"%1\" is not a number between 0 and 24000 Hz").arg(f.fc)};
    filter.Hz = *hz;
    if (f.gain.isEmpty())
        return {LineOutcome::NotUnderstood, QStringLiteral("no gain")};
    const std::optional<double> gain = ParseFilterNumber(f.gain);
    if (!gain)
        return {LineOutcome::NotUnderstood, QStringLiteral("gain \"%1\" is not a number").arg(f.gain)};
    filter.GainDb = *gain;
    std::optional<double> q;
    if (!f.q.isEmpty()) {
        q = ParseFilterNumber(f.q);
        if (!q || *q <= 0.0)
            return {LineOutcome::NotUnderstood, QStringLiteral("Q \"%1\" is not a positive number").arg(f.q)};
    }

    if (filter.Kind == ImportedKind::Peak) {
        if (!q && !f.bwOctaves.isEmpty()) {
            const std::optional<double> bw = ParseFilterNumber(f.bwOctaves);
            if (!bw || *bw <= 0.0)
                return {LineOutcome::NotUnderstood,
                        QStringLiteral("bandwidth \"%1\" is not a positive number").arg(f.bwOctaves)};
            q = QOfBandwidth(*bw, filter.Hz);
        }
        if (!q)
            return {LineOutcome::NotUnderstood, QStringLiteral("a peak filter without a Q")};
        filter.Q = *q;
    } else {
        const bool cornerType = type == QLatin1String("LS") || type == QLatin1String("HS");
        if (f.slope) {
            if (*f.slope <= 0.0)
                return {LineOutcome::NotUnderstood, QStringLiteral("the shelf slope is not positive")};
            filter.Width = cornerType ? ShelfWidth::Corner : ShelfWidth::Slope;
            filter.SlopeDb = *f.slope;
        } else if (q) {
            // "LSC ... Q", REW's "LS Q" and a Q on a plain "LS": a Q at the centre.
            filter.Width = ShelfWidth::Q;
            filter.Q = *q;
        } else if (f.qForm) {
            return {LineOutcome::NotUnderstood, QStringLiteral("a Q shelf without a Q")};
        } else {
            filter.Width = ShelfWidth::Slope;
            filter.SlopeDb = kDefaultShelfSlopeDb;
        }
    }
    const QString problem = ReferenceProblem(filter);
    if (!problem.isEmpty())
        return {LineOutcome::NotUnderstood, problem};
    if (!f.on)
        return {LineOutcome::Skipped, QStringLiteral("switched off"), true};
    if (!f.unread.isEmpty())
        return {LineOutcome::Read,
                QStringLiteral("ignored: %1").arg(f.unread.join(QLatin1Char(' '))), true};
    return {LineOutcome::Read, QString(), true};
}

// A line that starts like a filter line: "Filter 1: ON PK Fc ...", with the
// number or the colon possibly missing. Fields, or the verdict on a line
// that is a filter line but not one this reader can take apart.
struct FilterLine {
    bool isFilterLine = false;
    std::optional<FilterFields> fields;
    Verdict verdict;
};

bool IsShelfKeyword(const QString& type)
{
    return Is(type, "LS") || Is(type, "HS") || Is(type, "LSC") || Is(type, "HSC");
}

FilterLine ReadFilterLine(const QString& line)
{
    static const QRegularExpression head(QStringLiteral("^Filter\\s*([0-9]+)?\\s*:?\\s*(.*)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = head.match(line);
    FilterLine result;
    if (!match.hasMatch())
        return result;
    result.isFilterLine = true;
    FilterFields f;
    f.number = match.captured(1).toInt();
    const QStringList tokens = Tokenise(match.captured(2));
    if (tokens.isEmpty() || !(Is(tokens[0], "ON") || Is(tokens[0], "OFF"))) {
        result.verdict = {LineOutcome::NotUnderstood,
                          QStringLiteral("expected ON or OFF after \"Filter\"")};
        return result;
    }
    f.on = Is(tokens[0], "ON");
    if (tokens.size() < 2) {
        result.verdict = {LineOutcome::NotUnderstood, QStringLiteral("no filter type")};
        return result;
    }
    f.type = f.typeText = tokens[1];
    int next = 2;
    if (IsShelfKeyword(f.type) && next + 1 < tokens.size() && Is(tokens[next + 1], "dB") &&
        ParseFilterNumber(tokens[next])) {
        f.slope = ParseFilterNumber(tokens[next]);  // "LSC 10.8 dB", "LS 12dB"
        f.typeText += QLatin1Char(' ') + tokens[next] + QStringLiteral("dB");
        next += 2;
    } else if (IsShelfKeyword(f.type) && next < tokens.size() && Is(tokens[next], "Q") &&
               (next + 1 >= tokens.size() || !IsNumber(tokens[next + 1]))) {
        f.qForm = true;  // REW's "LS Q"
        f.typeText += QStringLiteral(" Q");
        ++next;
    }
    ReadParameters(tokens, next, f);
    result.fields = f;
    return result;
}

// REW's table: Number, Enabled, Control, Type, Frequency(Hz), Gain(dB), Q, Bandwidth(Hz).
struct TableColumns {
    int number = -1, enabled = -1, type = -1, frequency = -1, gain = -1, q = -1;
};

std::optional<TableColumns> TableHeader(const QString& line)
{
    if (!line.contains(QLatin1Char('\t')))
        return std::nullopt;
    const QStringList names = line.split(QLatin1Char('\t'));
    TableColumns c;
    for (int i = 0; i < names.size(); ++i) {
        const QString n = names[i].trimmed();
        if (Is(n, "Number"))
            c.number = i;
        else if (Is(n, "Enabled"))
            c.enabled = i;
        else if (Is(n, "Type"))
            c.type = i;
        else if (n.startsWith(QLatin1String("Frequency"), Qt::CaseInsensitive))
            c.frequency = i;
        else if (n.startsWith(QLatin1String("Gain"), Qt::CaseInsensitive))
            c.gain = i;
        else if (Is(n, "Q"))
            c.q = i;
    }
    if (c.number != 0 || c.type < 0 || c.frequency < 0)
        return std::nullopt;
    return c;
}

FilterFields TableRowFields(const QStringList& cells, const TableColumns& c)
{
    auto cell = [&](int i) { return i >= 0 && i < cells.size() ? cells[i].trimmed() : QString(); };
    FilterFields f;
    f.number = cell(c.number).toInt();
    const QString enabled = cell(c.enabled);
    f.on = !(Is(enabled, "False") || Is(enabled, "OFF") || Is(enabled, "No"));
    f.type = f.typeText = cell(c.type);
    f.fc = cell(c.frequency);
    f.gain = cell(c.gain);
    f.q = cell(c.q);
    // "LS_Q", and "LS 6dB" or "LS_6dB" as a table may name the corner shelves.
    static const QRegularExpression slopeType(QStringLiteral("^([A-Za-z]+)[ _]([0-9]+)\\s*dB$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch slope = slopeType.match(f.type);
    if (slope.hasMatch()) {
        f.slope = slope.captured(2).toDouble();
        f.type = slope.captured(1);
    } else if (f.type.endsWith(QLatin1String("_Q"), Qt::CaseInsensitive)) {
        f.qForm = true;
        f.type.chop(2);
    }
    return f;
}

bool IsRewHeader(const QString& line)
{
    static const QRegularExpression header(
        QStringLiteral("^(Filter Settings file|Room EQ V|Dated:|Notes:|Equali[sz]er:)"),
        QRegularExpression::CaseInsensitiveOption);
    return header.match(line).hasMatch();
}

// Other Equalizer APO commands: understood, but not filters of this unit.
std::optional<QString> ApoCommand(const QString& line)
{
    static const QRegularExpression command(QStringLiteral("^([A-Za-z]+)\\s*:"));
    const QRegularExpressionMatch match = command.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    const QString name = match.captured(1);
    if (Is(name, "Channel"))
        return QStringLiteral("Equalizer APO's channel selection: every filter of the text is "
                              "imported as one set for the unit");
    static const char* const others[] = {"Device", "Include", "GraphicEQ", "Delay", "Copy",
                                         "Stage", "Eval", "If", "ElseIf", "Else", "EndIf",
                                         "Convolution", "VSTPlugin", "LoudnessCorrection"};
    for (const char* other : others)
        if (Is(name, other))
            return QStringLiteral("an Equalizer APO \"%1\" command: the unit has no counterpart")
                .arg(name);
    return std::nullopt;
}

class Reader {
public:
    FilterSet Read(const QString& text)
    {
        QString all = text;
        if (all.startsWith(QChar(0xFEFF)))
            all.remove(0, 1);
        all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QStringList lines = all.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i)
            ReadLine(i + 1, lines[i].trimmed());
        return std::move(set_);
    }

private:
    void Report(int line, const QString& text, LineOutcome outcome, const QString& reason = {})
    {
        set_.Lines.push_back(LineReport{line, outcome, text, reason});
    }

    void SetFormat(FilterTextFormat format)
    {
        if (set_.Format == FilterTextFormat::Unknown)
            set_.Format = format;
    }

    void ReadLine(int n, const QString& line)
    {
        if (line.isEmpty())
            return;
        if (line.startsWith(QLatin1Char('#'))) {
            ReadComment(n, line);
            return;
        }
        if (table_) {
            ReadTableRow(n, line);
            return;
        }
        if (const std::optional<TableColumns> columns = TableHeader(line)) {
            table_ = columns;
            SetFormat(FilterTextFormat::RewTable);
            Report(n, line, LineOutcome::Ignored, QStringLiteral("REW table header"));
            return;
        }
        if (IsRewHeader(line)) {
            if (line.startsWith(QLatin1String("Filter Settings file"), Qt::CaseInsensitive))
                SetFormat(FilterTextFormat::RewSettings);
            Report(n, line, LineOutcome::Ignored, QStringLiteral("REW header"));
            return;
        }
        if (line.startsWith(QLatin1String("Preamp"), Qt::CaseInsensitive)) {
            ReadPreamp(n, line);
            return;
        }
        const FilterLine filterLine = ReadFilterLine(line);
        if (filterLine.fields) {
            SetFormat(FilterTextFormat::EqualizerApo);
            filterSeen_ = true;
            Accept(n, line, *filterLine.fields);
        } else if (filterLine.isFilterLine) {
            Report(n, line, filterLine.verdict.outcome, filterLine.verdict.reason);
        } else if (const std::optional<QString> reason = ApoCommand(line)) {
            Report(n, line, LineOutcome::Unsupported, *reason);
        } else if (set_.Format == FilterTextFormat::RewSettings && !filterSeen_) {
            // Between REW's header and its filters: the measurement's name and notes.
            Report(n, line, LineOutcome::Ignored, QStringLiteral("REW notes"));
        } else {
            Report(n, line, LineOutcome::NotUnderstood, QStringLiteral("not a filter line"));
        }
    }

    void Accept(int n, const QString& line, const FilterFields& fields)
    {
        ImportedFilter filter;
        const Verdict verdict = Interpret(fields, n, filter);
        Report(n, line, verdict.outcome, verdict.reason);
        if (verdict.filter)
            set_.Filters.push_back(filter);
    }

    void ReadTableRow(int n, const QString& line)
    {
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.isEmpty() || cells[0].trimmed().toInt() <= 0) {
            Report(n, line, LineOutcome::NotUnderstood,
                   QStringLiteral("not a row of REW's filter table"));
            return;
        }
        filterSeen_ = true;
        Accept(n, line, TableRowFields(cells, *table_));
    }

    void ReadPreamp(int n, const QString& line)
    {
        static const QRegularExpression preamp(QStringLiteral("^Preamp\\s*:\\s*(\\S+?)\\s*(dB)?$"),
                                               QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = preamp.match(line);
        const std::optional<double> db =
            match.hasMatch() ? ParseFilterNumber(match.captured(1)) : std::nullopt;
        if (!db) {
            Report(n, line, LineOutcome::NotUnderstood,
                   QStringLiteral("expected \"Preamp: <gain> dB\""));
            return;
        }
        set_.HasPreamp = true;
        set_.PreampDb += *db;
        Report(n, line, LineOutcome::Read);
    }

    void ReadComment(int n, const QString& line)
    {
        if (const std::optional<bool> bypass = ReadBypassNote(line)) {
            set_.HasBypassNote = true;
            set_.Bypass = *bypass;
            Report(n, line, LineOutcome::Read);
        } else if (std::optional<UnitBandNote> note = ReadUnitBandNote(line)) {
            note->Line = n;
            set_.UnitNotes.push_back(*note);
            Report(n, line, LineOutcome::Read);
        }
        // Any other comment is the writer's own text.
    }

    FilterSet set_;
    std::optional<TableColumns> table_;
    bool filterSeen_ = false;
};

}  // namespace

FilterSet ParseFilterText(const QString& text)
{
    return Reader().Read(text);
}

}  // namespace qireq
