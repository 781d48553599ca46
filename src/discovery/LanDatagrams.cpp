#include "discovery/LanDatagrams.h"

namespace qireq {

namespace {

constexpr int kProbeSize = 12;
constexpr int kShortestModuleAnswer = 21;

QByteArray TextOf(const QByteArray& datagram)
{
    const qsizetype end = datagram.indexOf('\0');
    return end < 0 ? datagram : datagram.left(end);
}

}  // namespace

QByteArray ProbeDatagram()
{
    return QByteArray::fromHex("0102000C000000000001FFFF");
}

QByteArray ModuleSearchDatagram()
{
    return QByteArray(kModuleSearchCode, sizeof kModuleSearchCode);  // with its zero byte
}

bool IsProbeAnswer(const QByteArray& datagram)
{
    return datagram.size() > kProbeSize;
}

bool IsModuleAnswer(const QByteArray& datagram)
{
    return TextOf(datagram).size() >= kShortestModuleAnswer;
}

bool IsSsdpAnnouncement(const QByteArray& datagram)
{
    return TextOf(datagram).contains(kSsdpMarker);
}

}  // namespace qireq
