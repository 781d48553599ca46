// qireq-sim: a simulated unit for trying the control program and for tests.
// Answers request frames on TCP, a pseudo-terminal or a tty, the LAN
// discovery probes, and logs every frame on stdout.
#include "SimDevice.h"
#include "SimLanSide.h"
#include "SimOptions.h"
#include "SimSerialSide.h"
#include "SimSignals.h"
#include "SimTcpServer.h"

#include <QCoreApplication>

#include <cstdio>

using namespace qireq::sim;

namespace {

int Fail(const QString& message)
{
    std::fprintf(stderr, "qireq-sim: %s\n", qUtf8Printable(message));
    return 2;
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
    SimLanResponder lan(device);
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
