// fault_soak: the real main window, offscreen, against two simulated units
// that inject faults at random moments: one on a pseudo-terminal, one on
// loopback TCP. It moves between them with real clicks for the soak time,
// then measures whether it leaked memory or descriptors and whether it sits
// quietly when idle. One summary line per figure; exit 1 when a target is
// missed, 2 when the soak could not start. fault-soak.sh sets it all up.
#include "SoakDriver.h"
#include "SoakFaultLogs.h"
#include "SoakProcessFigures.h"
#include "SoakReport.h"

#include "app/MainWindowSeams.h"
#include "app/Unit1.h"
#include "app/WindowStyle.h"
#include "controls/MessageBoxes.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

using namespace qireq;
using namespace qireq::soak;

namespace {

struct Options {
    QString pty;
    int lanPort = 0;
    QString lanAddress = QStringLiteral("127.0.0.1");
    int soakSeconds = 600;
    int idleSeconds = 30;
    quint32 seed = 1;
    QStringList faultLogs;  // TILE:PATH
};

int Fail(const QString& text)
{
    std::fprintf(stderr, "fault_soak: %s\n", qUtf8Printable(text));
    return 2;
}

bool Parse(const QStringList& arguments, Options& options, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The main window against simulated units that inject faults."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("pty"), QStringLiteral("The program's end of the serial unit's line."),
         QStringLiteral("PATH")},
        {QStringLiteral("lan-port"), QStringLiteral("TCP port of the LAN unit."),
         QStringLiteral("N")},
        {QStringLiteral("lan-address"),
         QStringLiteral("Address of the LAN unit (default 127.0.0.1)."), QStringLiteral("ADDR")},
        {QStringLiteral("seconds"), QStringLiteral("Soak time (default 600)."),
         QStringLiteral("N")},
        {QStringLiteral("idle-seconds"),
         QStringLiteral("Idle time measured after it (default 30)."), QStringLiteral("N")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the dwell times (default 1)."),
         QStringLiteral("N")},
        {QStringLiteral("fault-log"),
         QStringLiteral("A log with FAULT lines about the unit at tile TILE "
                        "(0 serial, 1 LAN); repeatable."),
         QStringLiteral("TILE:PATH")},
    });
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qUtf8Printable(parser.helpText()), stdout);
        std::exit(0);
    }
    const auto number = [&](const char* name, int fallback, int low, int high) {
        if (!parser.isSet(QLatin1String(name)))
            return fallback;
        bool ok = false;
        const int value = parser.value(QLatin1String(name)).toInt(&ok);
        if (!ok || value < low || value > high) {
            error = QStringLiteral("--%1 wants a number from %2 to %3")
                        .arg(QLatin1String(name))
                        .arg(low)
                        .arg(high);
            return fallback;
        }
        return value;
    };
    options.pty = parser.value(QStringLiteral("pty"));
    options.lanPort = number("lan-port", 0, 1, 65535);
    if (parser.isSet(QStringLiteral("lan-address")))
        options.lanAddress = parser.value(QStringLiteral("lan-address"));
    options.soakSeconds = number("seconds", options.soakSeconds, 1, 7 * 24 * 3600);
    options.idleSeconds = number("idle-seconds", options.idleSeconds, 1, 3600);
    options.seed = static_cast<quint32>(number("seed", 1, 0, 2147483647));
    options.faultLogs = parser.values(QStringLiteral("fault-log"));
    if (error.isEmpty() && (options.pty.isEmpty() || options.lanPort == 0))
        error = QStringLiteral("--pty and --lan-port are needed");
    return error.isEmpty();
}

MainWindowSeams SoakSeams(const Options& options)
{
    MainWindowSeams seams;
    // The prober walks the serial unit's line alone; no LAN discovery, no
    // device-change notifications.
    seams.EnumerateSerialPorts = [pty = options.pty] { return QStringList{pty}; };
    seams.StartLanDiscovery = false;
    seams.MakeDeviceChangeSource = [](quintptr, SerialPortEnumerator) {
        return std::make_unique<DeviceChangeSource>();
    };
    seams.LanPort = options.lanPort;
    return seams;
}

// Figures of the window at rest, disconnected, once what it let go has been
// deleted.
void Measure(SoakDriver& driver, long& rssKb, int& fds)
{
    driver.Pump(2000);
    rssKb = ResidentKb();
    fds = OpenDescriptors();
}

}  // namespace

int main(int argc, char** argv)
{
    ReportCrashes();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setPalette(MainWindowPalette());

    Options options;
    QString error;
    if (!Parse(QCoreApplication::arguments(), options, error))
        return Fail(error);
    SoakFaultLogs faults;
    for (const QString& log : options.faultLogs) {
        bool ok = false;
        const int tile = log.section(u':', 0, 0).toInt(&ok);
        if (!ok || !faults.Watch(log.section(u':', 1), tile))
            return Fail(QStringLiteral("cannot read the fault log %1").arg(log));
    }

    // Boxes are recorded, not shown: nothing waits for a button.
    MessageBoxes::TestMode boxes(MessageBoxes::Answer::No);
    auto form = std::make_unique<TForm1>(SoakSeams(options));
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return Fail(QStringLiteral("the window did not show"));

    SoakDriver driver(*form, faults);
    if (!driver.FindUnits(options.lanAddress, 30000))
        return Fail(QStringLiteral("the two units did not get their tiles"));
    std::printf("units: serial on %s, LAN on %s:%d\n", qUtf8Printable(options.pty),
                qUtf8Printable(options.lanAddress), options.lanPort);
    std::fflush(stdout);

    // A first round over both units, so what the window makes once (the
    // connecting dialog, the status row, buffers) is there before counting.
    SoakFigures figures;
    driver.Connect(SoakDriver::kSerialTile);
    driver.Dwell(4000);
    driver.Connect(SoakDriver::kLanTile);
    driver.Dwell(4000);
    driver.Connect(SoakDriver::kSerialTile);
    driver.Disconnect();
    Measure(driver, figures.rssStartKb, figures.fdsStart);
    std::fprintf(stderr, "first round done: %ld kB, %d fds; the soak begins\n", figures.rssStartKb,
                 figures.fdsStart);

    std::mt19937 random(options.seed);
    std::uniform_int_distribution<int> dwellMs(8000, 25000);
    const qint64 soakEnd = driver.NowMs() + options.soakSeconds * qint64{1000};
    int tile = SoakDriver::kLanTile;
    while (driver.NowMs() < soakEnd) {
        driver.Connect(tile);
        driver.Dwell(static_cast<int>(std::min<qint64>(dwellMs(random), soakEnd - driver.NowMs())));
        tile = tile == SoakDriver::kLanTile ? SoakDriver::kSerialTile : SoakDriver::kLanTile;
    }

    // Back to where the start was measured.
    driver.Connect(SoakDriver::kSerialTile);
    driver.Disconnect();
    Measure(driver, figures.rssEndKb, figures.fdsEnd);
    std::fprintf(stderr, "soak done: %ld kB, %d fds; idle for %d s\n", figures.rssEndKb,
                 figures.fdsEnd, options.idleSeconds);

    // Idle: nothing sampled, nothing clicked, just the window's own timers.
    const double cpuBefore = CpuSeconds();
    QEventLoop idle;
    QTimer::singleShot(options.idleSeconds * 1000, &idle, &QEventLoop::quit);
    idle.exec();
    figures.idleCpuSeconds = CpuSeconds() - cpuBefore;
    figures.idleSeconds = options.idleSeconds;

    faults.Poll(driver.NowMs());
    figures.soakSeconds = options.soakSeconds;
    figures.driver = driver.Figures();
    figures.faults = faults.CountByKind();
    for (const MessageBoxes::Record& box : boxes.Boxes()) {
        if (box.text == QStringLiteral("Conenction failed"))
            ++figures.failedBoxes;
        else
            figures.otherBoxes << box.text;
    }
    const QStringList missed = PrintReport(figures);
    form.reset();
    return missed.isEmpty() ? 0 : 1;
}
