#include "SimOptions.h"

#include "SimUnitList.h"

#include "ArgumentReader.h"

#include <QMap>

#include <algorithm>
#include <limits>

namespace qireq::sim {
namespace {

struct Parsed {
    bool ok = true;
    QString error;
    void Fail(const QString& message)
    {
        if (ok)
            error = message;
        ok = false;
    }
};

// One option of the simulator: its name, the name of its value (none for a
// switch) and its help.
struct SimOption {
    SimOption(QString n, QString h, QString v = {}) : name(std::move(n)), help(std::move(h)), valueName(std::move(v)) {}
    QString name;
    QString help;
    QString valueName;
};

// The options read from the command line in the style qireq-ctl reads its
// own (ArgumentReader): each switch given, each option's last value.
class SimArguments {
public:
    bool isSet(const QString& name) const { return given_.contains(name); }
    QString value(const QString& name) const { return given_.value(name); }

    // False with the message in *error for an unknown option, an option
    // without its value or a word that is no option.
    bool Read(const QStringList& words, const QList<SimOption>& options, QString* error)
    {
        tools::ArgumentReader reader(words);
        while (!reader.AtEnd()) {
            const QString word = reader.Next();
            const QString name = word == QLatin1String("-h")           ? QStringLiteral("help")
                                 : word.startsWith(QLatin1String("--")) ? word.mid(2)
                                                                        : QString();
            const auto known = std::find_if(options.cbegin(), options.cend(),
                                            [&](const SimOption& o) { return o.name == name; });
            if (!word.startsWith(u'-') || !reader.IsOption())
                reader.Fail(QStringLiteral("Unexpected argument \"%1\"").arg(word));
            else if (known == options.cend())
                reader.Fail(QStringLiteral("unknown option %1").arg(word));
            else if (known->valueName.isEmpty())
                given_.insert(name, QString());
            else if (const auto v = reader.Value())
                given_.insert(name, *v);
        }
        *error = reader.Error();
        return error->isEmpty();
    }

private:
    QMap<QString, QString> given_;
};

QString HelpText(const QString& description, const QList<SimOption>& options)
{
    QString text = QStringLiteral("Usage: qireq-sim [options]\n") + description + QStringLiteral("\n\nOptions:\n");
    for (const SimOption& o : options) {
        text += (o.name == u"help" ? QStringLiteral("  -h, --help") : QStringLiteral("  --") + o.name)
            + (o.valueName.isEmpty() ? QString() : QStringLiteral(" <%1>").arg(o.valueName)) + u'\n';
        QString line = QStringLiteral("      ");
        for (const QString& word : o.help.split(u' ')) {
            if (line.size() > 6 && line.size() + 1 + word.size() > 78) {
                text += line + u'\n';
                line = QStringLiteral("      ");
            }
            line += (line.size() > 6 ? QStringLiteral(" ") : QString()) + word;
        }
        text += line + u'\n';
    }
    return text;
}

// An unsigned decimal number within [low, high]; `name` names the option in the error.
template <typename T>
T Number(const SimArguments& parser, const QString& name, qint64 low, qint64 high, T fallback,
         Parsed& parsed)
{
    if (!parser.isSet(name))
        return fallback;
    const QString text = parser.value(name);
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok || value < low || value > high) {
        parsed.Fail(QStringLiteral("--%1 wants a number from %2 to %3, not \"%4\"")
                        .arg(name).arg(low).arg(high).arg(text));
        return fallback;
    }
    return static_cast<T>(value);
}

QHostAddress Ipv4(const QString& text, const QString& name, Parsed& parsed)
{
    QHostAddress address;
    if (!address.setAddress(text) || address.protocol() != QAbstractSocket::IPv4Protocol) {
        parsed.Fail(QStringLiteral("--%1 wants an IPv4 address, not \"%2\"").arg(name, text));
        return {};
    }
    return address;
}

void ParseTcp(const QString& text, SimOptions& options, Parsed& parsed)
{
    const qsizetype colon = text.lastIndexOf(u':');
    bool portOk = false;
    const uint port = colon < 0 ? 0 : text.mid(colon + 1).toUInt(&portOk, 10);
    if (colon < 0 || !portOk || port > std::numeric_limits<quint16>::max()) {
        parsed.Fail(QStringLiteral("--tcp wants ADDR:PORT, not \"%1\"").arg(text));
        return;
    }
    options.tcpAddress = Ipv4(text.left(colon), QStringLiteral("tcp"), parsed);
    options.tcpPort = static_cast<quint16>(port);
    options.tcp = true;
}

void ParseFlags(const QString& text, SimUnitState& unit, Parsed& parsed)
{
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    // fromHex skips what is not a digit; a round trip shows whether all were.
    if (text.size() != 8 || bytes.toHex() != text.toLower().toLatin1()) {
        parsed.Fail(QStringLiteral("--flags wants 8 hexadecimal digits, not \"%1\"").arg(text));
        return;
    }
    for (std::size_t i = 0; i < unit.flags.size(); ++i)
        unit.flags[i] = static_cast<std::uint8_t>(bytes.at(static_cast<qsizetype>(i)));
}

// Many units: each listens on its own address, on LAN sockets only.
void ParseUnits(const SimArguments& parser, SimOptions& options, Parsed& parsed)
{
    if (const QString error = ParseUnitList(parser.value(QStringLiteral("units")), options.units); !error.isEmpty())
        parsed.Fail(error);
    if (options.pty || !options.ttyPath.isEmpty())
        parsed.Fail(QStringLiteral("--units plays LAN units only, not with --pty or --tty"));
    if (parser.isSet(QStringLiteral("tcp")) && options.tcpAddress != QHostAddress(QHostAddress::AnyIPv4))
        parsed.Fail(QStringLiteral("--tcp with --units takes 0.0.0.0:PORT: each unit listens on its own address"));
    if (options.ssdp)
        parsed.Fail(QStringLiteral("--ssdp announces a single unit; with --units use --ssdp-all"));
    options.tcp = true;
}

void ParseChaos(const SimArguments& parser, ChaosSettings& chaos, Parsed& parsed)
{
    chaos.on = parser.isSet(QStringLiteral("chaos"));
    for (const char* detail : {"chaos-interval", "chaos-faults"}) {
        if (!chaos.on && parser.isSet(QLatin1String(detail)))
            parsed.Fail(QStringLiteral("--%1 wants --chaos SEED").arg(QLatin1String(detail)));
    }
    chaos.seed = Number<std::uint32_t>(parser, QStringLiteral("chaos"), 0, 4294967295LL, 0, parsed);
    chaos.intervalMs =
        Number<int>(parser, QStringLiteral("chaos-interval"), 0, 3600000, chaos.intervalMs, parsed);
    if (!parser.isSet(QStringLiteral("chaos-faults")))
        return;
    chaos.kinds.clear();
    const QString list = parser.value(QStringLiteral("chaos-faults"));
    for (const QString& name : list.split(u',')) {
        const std::optional<ChaosKind> kind = ChaosKindFromName(name.trimmed());
        if (!kind) {
            parsed.Fail(QStringLiteral("--chaos-faults wants kinds from silence, drop, flood, bytes, delay, "
                                       "duplicate, length, not \"%1\"").arg(list));
            return;
        }
        if (std::find(chaos.kinds.begin(), chaos.kinds.end(), *kind) == chaos.kinds.end())
            chaos.kinds.push_back(*kind);
    }
}

}  // namespace

SimCommandLine ParseSimCommandLine(const QStringList& arguments)
{
    const QString description = QStringLiteral(
        "A simulated QIR-EQ unit, or many LAN units (--units). It answers the control\n"
        "program's request frames over TCP, a pseudo-terminal or a tty, and its LAN\n"
        "discovery probes, and logs every frame as a hex line (RX/TX) on stdout. Runs\n"
        "until SIGINT or SIGTERM.");
    const QList<SimOption> all{
        {QStringLiteral("help"), QStringLiteral("Show this help."), {}},
        {QStringLiteral("tcp"), QStringLiteral("Listen for TCP connections on ADDR:PORT (port 0: any free "
                                               "port). Default 127.0.0.2:5000 when no --tcp, --pty or --tty is "
                                               "given."), QStringLiteral("ADDR:PORT")},
        {QStringLiteral("pty"), QStringLiteral("Open a pseudo-terminal and print its path as \"PTY <path>\".")},
        {QStringLiteral("tty"), QStringLiteral("Serve the serial port PATH at 9600 8N1; when it vanishes, serve "
                                               "it again as soon as PATH is back."), QStringLiteral("PATH")},
        {QStringLiteral("units"), QStringLiteral("Play many LAN units, one per address of LIST: addresses and ranges "
                                                 "FIRST-LAST (LAST a whole address or its last number) separated by "
                                                 "commas, e.g. 10.77.1.1-250,10.77.2.7; at most 1024. Each unit has "
                                                 "its own state and TCP server on ADDR:5000 (--tcp 0.0.0.0:PORT: "
                                                 "another port), the name TEXT-N after --name and the MAC --mac + "
                                                 "N - 1. Not with --pty, --tty or --ssdp."), QStringLiteral("LIST")},
        {QStringLiteral("lan"), QStringLiteral("Answer the port-8000 probe and the port-48899 module search, "
                                               "only ever to the probe's sender; with --units every unit answers "
                                               "from its own address.")},
        {QStringLiteral("lan-bind"), QStringLiteral("Address the LAN sockets bind to (default any)."),
         QStringLiteral("ADDR")},
        {QStringLiteral("probe-port"), QStringLiteral("UDP port of the probe and its answer (default 8000)."),
         QStringLiteral("N")},
        {QStringLiteral("module-port"), QStringLiteral("UDP port of the module search and its answer "
                                                       "(default 48899)."), QStringLiteral("N")},
        {QStringLiteral("ssdp"), QStringLiteral("Send SSDP NOTIFY datagrams to 239.255.255.250 from the local "
                                                "interface address IFACE_ADDR."), QStringLiteral("IFACE_ADDR")},
        {QStringLiteral("ssdp-all"), QStringLiteral("With --units: every unit sends SSDP NOTIFY datagrams from its "
                                                    "own address, the first ones spread over one interval.")},
        {QStringLiteral("ssdp-port"), QStringLiteral("UDP port of the SSDP group (default 1900)."),
         QStringLiteral("N")},
        {QStringLiteral("ssdp-interval"), QStringLiteral("Milliseconds between two NOTIFY datagrams "
                                                         "(default 2000)."), QStringLiteral("MS")},
        {QStringLiteral("name"), QStringLiteral("Unit name, at most 16 characters (default QIR-SIM); with --units "
                                                "the start of each unit's name."),
         QStringLiteral("TEXT")},
        {QStringLiteral("capability"), QStringLiteral("Capability number of the identity reply, 0..255; 17 "
                                                      "or more offers the status row (default 17)."),
         QStringLiteral("N")},
        {QStringLiteral("mac"), QStringLiteral("MAC address, 12 hexadecimal digits (default 00A1B0000001); with "
                                               "--units the first unit's."),
         QStringLiteral("HEX12")},
        {QStringLiteral("temperature"), QStringLiteral("Raw temperature reading of the status reply, 0..65535 "
                                                       "(default 700)."), QStringLiteral("RAW")},
        {QStringLiteral("flags"), QStringLiteral("Protection, temperature, voltage and standby flag bytes of "
                                                 "the status reply as 8 hex digits (default 00000000)."),
         QStringLiteral("HEX8")},
        {QStringLiteral("burn-count"), QStringLiteral("Burn count of the information reply, 0..255 "
                                                      "(default 0)."), QStringLiteral("N")},
        {QStringLiteral("minutes"), QStringLiteral("Operating minutes of the information reply (default 0)."),
         QStringLiteral("N")},
        {QStringLiteral("silent"), QStringLiteral("Fault: log what arrives and answer nothing.")},
        {QStringLiteral("answer-limit"), QStringLiteral("Fault: go mute after N frames."), QStringLiteral("N")},
        {QStringLiteral("drop-after"), QStringLiteral("Fault: close each TCP connection after its Nth frame "
                                                      "(and the reply to it)."), QStringLiteral("N")},
        {QStringLiteral("delay"), QStringLiteral("Fault: send each reply MS milliseconds after its request."),
         QStringLiteral("MS")},
        {QStringLiteral("chunk"), QStringLiteral("Fault: send replies in pieces of N bytes."),
         QStringLiteral("N")},
        {QStringLiteral("chunk-pause"), QStringLiteral("Milliseconds between two pieces (default 5)."),
         QStringLiteral("MS")},
        {QStringLiteral("garbage"), QStringLiteral("Fault: send filler bytes with broken headers before every "
                                                   "reply.")},
        {QStringLiteral("ack-only"), QStringLiteral("Fault: echo band, trim and bypass writes and answer the EQ "
                                                    "block write as usual, but keep the old values (a read-back "
                                                    "shows them).")},
        {QStringLiteral("chaos"), QStringLiteral("Faults at random moments, drawn from SEED (0..4294967295): "
                                                 "silence for 7-10 s, a dropped TCP connection, a 1 MiB garbage "
                                                 "flood, replies byte by byte, late (0.3-2.5 s) or twice for "
                                                 "10-20 s, a reply with a wrong length byte. One at a time, each "
                                                 "starting with the first frame after it falls due and logged as "
                                                 "\"FAULT <kind> ...\"."), QStringLiteral("SEED")},
        {QStringLiteral("chaos-interval"), QStringLiteral("Mean milliseconds from one chaos fault to the next, "
                                                          "each drawn from half to one and a half times it; "
                                                          "time without a frame for 5 s does not count "
                                                          "(default 20000)."), QStringLiteral("MS")},
        {QStringLiteral("chaos-faults"), QStringLiteral("The chaos faults to draw from, comma-separated: silence, "
                                                        "drop, flood, bytes, delay, duplicate, length (default "
                                                        "all)."), QStringLiteral("LIST")},
    };
    SimCommandLine result;
    result.text = HelpText(description, all);
    SimArguments parser;
    if (!parser.Read(arguments.mid(1), all, &result.error))
        return result;
    if (parser.isSet(QStringLiteral("help"))) {
        result.help = true;
        return result;
    }
    Parsed parsed;

    SimOptions& options = result.options;
    if (parser.isSet(QStringLiteral("tcp")))
        ParseTcp(parser.value(QStringLiteral("tcp")), options, parsed);
    options.pty = parser.isSet(QStringLiteral("pty"));
    options.ttyPath = parser.value(QStringLiteral("tty"));
    if (parser.isSet(QStringLiteral("tty")) && options.ttyPath.isEmpty())
        parsed.Fail(QStringLiteral("--tty wants a path"));
    if (!options.tcp && !options.pty && options.ttyPath.isEmpty())
        options.tcp = true;

    options.lan = parser.isSet(QStringLiteral("lan"));
    if (parser.isSet(QStringLiteral("lan-bind")))
        options.lanBind = Ipv4(parser.value(QStringLiteral("lan-bind")), QStringLiteral("lan-bind"), parsed);
    options.probePort = Number<quint16>(parser, QStringLiteral("probe-port"), 1, 65535, options.probePort, parsed);
    options.modulePort = Number<quint16>(parser, QStringLiteral("module-port"), 1, 65535, options.modulePort, parsed);

    options.ssdp = parser.isSet(QStringLiteral("ssdp"));
    if (options.ssdp)
        options.ssdpInterface = Ipv4(parser.value(QStringLiteral("ssdp")), QStringLiteral("ssdp"), parsed);
    options.ssdpPort = Number<quint16>(parser, QStringLiteral("ssdp-port"), 1, 65535, options.ssdpPort, parsed);
    options.ssdpIntervalMs =
        Number<int>(parser, QStringLiteral("ssdp-interval"), 10, 3600000, options.ssdpIntervalMs, parsed);
    options.ssdpAll = parser.isSet(QStringLiteral("ssdp-all"));
    if (parser.isSet(QStringLiteral("units")))
        ParseUnits(parser, options, parsed);
    else if (options.ssdpAll)
        parsed.Fail(QStringLiteral("--ssdp-all wants --units (a single unit: --ssdp ADDR)"));

    SimUnitState& unit = options.unit;
    const QString name = parser.isSet(QStringLiteral("name")) ? parser.value(QStringLiteral("name"))
                                                              : QStringLiteral("QIR-SIM");
    if (name.size() > kNameFieldSize || QString::fromLatin1(name.toLatin1()) != name)
        parsed.Fail(QStringLiteral("--name wants at most 16 Latin-1 characters, not \"%1\"").arg(name));
    unit.name = MakeNameField(name);
    options.name = name;
    unit.capability = Number<std::uint8_t>(parser, QStringLiteral("capability"), 0, 255, unit.capability, parsed);
    const QString macText = parser.isSet(QStringLiteral("mac")) ? parser.value(QStringLiteral("mac"))
                                                                : QStringLiteral("00A1B0000001");
    if (const auto mac = TextToMac(macText))
        unit.mac = *mac;
    else
        parsed.Fail(QStringLiteral("--mac wants 12 hexadecimal digits, not \"%1\"").arg(macText));
    unit.temperatureRaw =
        Number<std::uint16_t>(parser, QStringLiteral("temperature"), 0, 65535, unit.temperatureRaw, parsed);
    if (parser.isSet(QStringLiteral("flags")))
        ParseFlags(parser.value(QStringLiteral("flags")), unit, parsed);
    unit.burnCount = Number<std::uint8_t>(parser, QStringLiteral("burn-count"), 0, 255, unit.burnCount, parsed);
    unit.minutes = Number<std::uint32_t>(parser, QStringLiteral("minutes"), 0, kMaxMinutes, unit.minutes, parsed);

    SimFaults& faults = options.faults;
    faults.silent = parser.isSet(QStringLiteral("silent"));
    faults.answerLimit = Number<int>(parser, QStringLiteral("answer-limit"), 0, 1000000000, -1, parsed);
    faults.dropAfter = Number<int>(parser, QStringLiteral("drop-after"), 1, 1000000000, -1, parsed);
    faults.delayMs = Number<int>(parser, QStringLiteral("delay"), 0, 600000, 0, parsed);
    faults.chunkBytes = Number<int>(parser, QStringLiteral("chunk"), 1, 1000000, 0, parsed);
    faults.chunkPauseMs = Number<int>(parser, QStringLiteral("chunk-pause"), 0, 60000, faults.chunkPauseMs, parsed);
    faults.garbage = parser.isSet(QStringLiteral("garbage"));
    faults.ackOnly = parser.isSet(QStringLiteral("ack-only"));
    ParseChaos(parser, faults.chaos, parsed);

    if (!parsed.ok)
        result.error = parsed.error;
    return result;
}

}  // namespace qireq::sim
