#pragma once
// Whether this user may open a serial port at all, apart from whether
// another program holds it now. On Linux a port is a device node whose group
// (usually "dialout") grants reading and writing; a user outside that group
// is refused every time, silently for a prober, and only the user (or an
// administrator) can change that. Windows has no such rule.
#include <QString>

#include <optional>

namespace qireq {

// The group this user must join to open the port: absent when the port may
// be opened, does not exist, or the platform has no such rule; empty when
// no group would let the user in (the node grants its group no reading and
// writing, or its group is root's, which no user should join for a port) or
// the owning group has no name. Any thread.
std::optional<QString> SerialPortGroupNeeded(const QString& port);

}  // namespace qireq
