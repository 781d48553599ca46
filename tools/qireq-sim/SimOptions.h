#pragma once
// The simulator's command line.
#include "SimDevice.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <vector>

namespace qireq::sim {

struct SimOptions {
    bool tcp = false;
    QHostAddress tcpAddress{QStringLiteral("127.0.0.2")};
    quint16 tcpPort = 5000;  // 0: any free port, printed on the TCP line

    // Many LAN units in one process, one per address (--units): each
    // listens on TCP <address>:tcpPort.
    std::vector<QHostAddress> units;

    bool pty = false;
    QString ttyPath;

    bool lan = false;
    QHostAddress lanBind{QHostAddress::AnyIPv4};
    quint16 probePort = 8000;
    quint16 modulePort = 48899;

    bool ssdp = false;
    QHostAddress ssdpInterface;
    quint16 ssdpPort = 1900;
    int ssdpIntervalMs = 2000;
    bool ssdpAll = false;  // with units: each announces from its own address

    QString name = QStringLiteral("QIR-SIM");  // as given; the units number it

    SimUnitState unit;
    SimFaults faults;
};

struct SimCommandLine {
    SimOptions options;
    bool help = false;  // --help: print `text` and stop
    QString error;      // not empty: print it with the help and fail
    QString text;       // the help text
};

// `arguments` includes the program name first, as QCoreApplication gives it.
// Without any of --tcp, --pty, --tty the unit listens on TCP at
// 127.0.0.2:5000 (LAN answers and SSDP only make a unit findable). With
// --units every unit listens on its own address, so --tcp may only name
// 0.0.0.0 and a port, and --pty, --tty and --ssdp (one unit's) are refused.
SimCommandLine ParseSimCommandLine(const QStringList& arguments);

}  // namespace qireq::sim
