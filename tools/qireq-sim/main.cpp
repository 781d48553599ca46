// qireq-sim: a simulated unit for trying the control program and for tests.
// Answers request frames on TCP, a pseudo-terminal or a tty, the LAN
// discovery probes, and logs every frame on stdout. With --units one
// process plays many LAN units.
#include "SimDevice.h"
#include "SimLanSide.h"
#include "SimOptions.h"
#include "SimSerialSide.h"
#include "SimSignals.h"
#include "SimTcpServer.h"
#include "SimUnitSet.h"

#include <QCoreApplication>
#include <QNetworkProxy>

#include <cstdio>
#include <sys/resource.h>

using namespace qireq::sim;

namespace {

int Fail(const QString& message)
{
    std::fprintf(stderr, "qireq-sim: %s\n", qUtf8Printable(message));
    return 2;
}

// Hundreds of units hold a few sockets each, more than the usual soft limit
// of 1024 open files; it is raised as far as the hard limit allows. Returns
// the limit in force.
quint64 RaiseOpenFileLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return RLIM_INFINITY;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    return limit.rlim_cur;
}

int RunOneUnit(const SimOptions& options)
{
    SimDevice device(options.unit, options.faults, SimLog());

    SimTcpServer tcp(device);
    if (options.tcp) {
        if (const QString error = tcp.Listen(options.tcpAddress, options.tcpPort); !error.isEmpty())
            return Fail(error);
    }
    SimPty pty(device);
    if (options.pty) {
        if (const QString error = pty.Open(); !error.isEmpty())
            return Fail(error);
    }
    SimTty tty(device);
    if (!options.ttyPath.isEmpty()) {
        if (const QString error = tty.Open(options.ttyPath); !error.isEmpty())
            return Fail(error);
    }
    SimLanResponder lan(device.Log());
    lan.AddUnit(device);
    if (options.lan) {
        if (const QString error = lan.Start(options.lanBind, options.probePort, options.modulePort);
            !error.isEmpty())
            return Fail(error);
    }
    SimSsdpAnnouncer ssdp(device);
    if (options.ssdp) {
        if (const QString error = ssdp.Start(options.ssdpInterface, options.ssdpPort, options.ssdpIntervalMs);
            !error.isEmpty())
            return Fail(error);
    }

    device.Log().Line(QStringLiteral("READY"));
    return QCoreApplication::exec();
}

int RunUnits(const SimOptions& options, quint64 openFileLimit)
{
    SimUnitSet units(options);
    if (units.DescriptorsNeeded() > openFileLimit)
        return Fail(QStringLiteral("%1 units need about %2 open files, but the limit is %3")
                        .arg(options.units.size()).arg(units.DescriptorsNeeded()).arg(openFileLimit));
    if (const QString error = units.Start(); !error.isEmpty())
        return Fail(error);
    SimLog().Line(QStringLiteral("READY"));
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qireq-sim"));

    const SimCommandLine commandLine = ParseSimCommandLine(QCoreApplication::arguments());
    if (commandLine.help) {
        std::fputs(qUtf8Printable(commandLine.text), stdout);
        return 0;
    }
    if (!commandLine.error.isEmpty()) {
        std::fputs(qUtf8Printable(commandLine.text), stderr);
        return Fail(commandLine.error);
    }
    const SimOptions& options = commandLine.options;

    SimSignals signalWatch;
    if (!signalWatch.Install())
        return Fail(QStringLiteral("cannot watch for signals"));
    QObject::connect(&signalWatch, &SimSignals::Stop, &app, [](int number) {
        std::printf("STOP signal %d\n", number);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    const quint64 openFileLimit = RaiseOpenFileLimit();
    // A unit listens and answers on its own addresses: no system proxy is
    // ever asked (which would also start Qt's proxy look-up thread).
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);

    return options.units.empty() ? RunOneUnit(options) : RunUnits(options, openFileLimit);
}
