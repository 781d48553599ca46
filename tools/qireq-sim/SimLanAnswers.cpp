#include "SimLanAnswers.h"

#include "discovery/LanDatagrams.h"

namespace qireq::sim {

// The control program's own probe and search, so the unit answers exactly
// what the program sends.
QByteArray PortProbe()
{
    return ProbeDatagram();
}

QByteArray ModuleSearch()
{
    return ModuleSearchDatagram();
}

bool IsPortProbe(const QByteArray& datagram)
{
    return datagram == PortProbe();
}

bool IsModuleSearch(const QByteArray& datagram)
{
    const QByteArray search = ModuleSearch();
    return datagram == search || datagram == search.left(search.size() - 1);
}

QByteArray PortProbeAnswer(const SimUnitState& unit, quint32 ipv4)
{
    QByteArray answer = QByteArray::fromHex("01820000");
    answer.append(reinterpret_cast<const char*>(unit.mac.data()), static_cast<qsizetype>(unit.mac.size()));
    for (int shift = 24; shift >= 0; shift -= 8)
        answer.append(static_cast<char>((ipv4 >> shift) & 0xFFu));
    answer.append(reinterpret_cast<const char*>(unit.name.data()), kNameFieldSize);
    answer[3] = static_cast<char>(answer.size());
    return answer;
}

QByteArray ModuleSearchAnswer(const SimUnitState& unit, const QString& ipText)
{
    return (ipText + u',' + MacToText(unit.mac) + QStringLiteral(",QX-B27")).toLatin1();
}

QByteArray SsdpNotify(const SimUnitState& unit, const QString& ipText, quint16 groupPort)
{
    const QString mac = MacToText(unit.mac);
    const QString text = QStringLiteral(
        "NOTIFY * HTTP/1.1\r\n"
        "HOST: 239.255.255.250:%1\r\n"
        "CACHE-CONTROL: max-age=1800\r\n"
        "LOCATION: http://%2/description.xml\r\n"
        "NT: urn:schemas-upnp-org:device:upnp_MDL-S2E:1\r\n"
        "NTS: ssdp:alive\r\n"
        "SERVER: QIR-SIM/1.0 UPnP/1.0 upnp_MDL-S2E/1.0\r\n"
        "USN: uuid:00000000-0000-1000-8000-%3::urn:schemas-upnp-org:device:upnp_MDL-S2E:1\r\n"
        "\r\n").arg(groupPort).arg(ipText, mac);
    return text.toLatin1();
}

}  // namespace qireq::sim
