#include "platform/SerialPortEnumeration.h"

#include <QSerialPortInfo>

namespace qireq {

QStringList EnumerateSerialPorts()
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    names.reserve(ports.size());
    for (const QSerialPortInfo& port : ports)
        names.append(port.systemLocation());
    SortPortNamesNaturally(names);
    names.append(ExtraSerialPorts());
    return names;
}

}  // namespace qireq
