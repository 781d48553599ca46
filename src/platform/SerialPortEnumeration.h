#pragma once
// The serial port names this machine has, for the prober and for the
// re-reading of the port list after a device arrives or leaves.
//
// Windows: the string data of the values of HKEY_LOCAL_MACHINE
// "\HARDWARE\DEVICEMAP\SERIALCOMM\" ("COM3", "COM5", ...), in the order the
// registry enumerates them: no sorting, no de-duplication.
// Linux: the device path of every serial port the system reports
// ("/dev/ttyACM0", "/dev/ttyUSB0", ...), in natural order (see
// SortPortNamesNaturally), so the list reads the same from one call to the
// next and the prober walks the ports in a fixed order.
//
// Pseudo-terminals are never among the ports Linux reports, so a simulated
// unit on one (tools/qireq-sim --pty) is made visible by naming its path in
// the environment variable QIREQ_EXTRA_SERIAL_PORTS (paths separated by ':').
// They follow the system's ports; paths that do not exist are left out. A
// development and demonstration aid: nothing sets it on an installer's PC.
//
// A missing key or no ports at all gives an empty list; every user treats an
// empty list as the absence of serial ports. Any thread.
#include <QStringList>

#include <functional>

namespace qireq {

QStringList EnumerateSerialPorts();

inline constexpr char kExtraSerialPortsVariable[] = "QIREQ_EXTRA_SERIAL_PORTS";
// The existing paths named in QIREQ_EXTRA_SERIAL_PORTS, in their order, once each.
QStringList ExtraSerialPorts();

// Where the port names come from: EnumerateSerialPorts in the program, a
// list of pseudo-terminal paths in tests.
using SerialPortEnumerator = std::function<QStringList()>;

// Orders names as a person would: runs of digits compare by their value, so
// /dev/ttyS2 comes before /dev/ttyS10 and /dev/ttyUSB9 before /dev/ttyUSB10;
// everything else compares character by character, case included. Names
// equal by that rule keep their order.
void SortPortNamesNaturally(QStringList& names);
bool NaturalLess(const QString& a, const QString& b);

}  // namespace qireq
