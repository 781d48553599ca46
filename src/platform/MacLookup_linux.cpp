// The ARP look-up on Linux: the neighbour table in /proc, and an empty
// datagram to make the kernel resolve a host it has no entry for.
#include "platform/MacLookup.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qireq {

namespace {

constexpr int kResolveWaitMs = 1000;
constexpr int kTableReadEveryMs = 10;
constexpr unsigned kCompleteEntry = 0x2;  // ATF_COM: the hardware address is known
constexpr quint16 kDiscardPort = 9;

// The table of the calling thread's network namespace.
QString NeighbourTablePath()
{
    const QString threadOwn = QStringLiteral("/proc/thread-self/net/arp");
    return QFile::exists(threadOwn) ? threadOwn : QStringLiteral("/proc/net/arp");
}

// "IP address  HW type  Flags  HW address  Mask  Device", one row per entry.
std::optional<QString> TableMac(const QString& ipv4)
{
    QFile table(NeighbourTablePath());
    if (!table.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    table.readLine();  // the heading
    while (!table.atEnd()) {
        const QList<QByteArray> fields = table.readLine().simplified().split(' ');
        if (fields.size() < 4 || QString::fromLatin1(fields[0]) != ipv4)
            continue;
        bool ok = false;
        const unsigned flags = fields[2].toUInt(&ok, 16);
        if (!ok || (flags & kCompleteEntry) == 0)
            continue;
        QString digits = QString::fromLatin1(fields[3]).remove(QLatin1Char(':')).toUpper();
        if (digits.size() == 12)
            return digits;
    }
    return std::nullopt;
}

// A datagram needs the host's hardware address before it can leave, so
// sending one starts the resolution.
void StartResolution(quint32 ipv4)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kDiscardPort);
    to.sin_addr.s_addr = htonl(ipv4);
    ::sendto(fd, nullptr, 0, MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    ::close(fd);
}

}  // namespace

std::optional<QString> NeighbourMac(const QHostAddress& address)
{
    const QString ipv4 = address.toString();
    if (const std::optional<QString> known = TableMac(ipv4))
        return known;
    StartResolution(address.toIPv4Address());
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kResolveWaitMs) {
        QThread::msleep(kTableReadEveryMs);
        if (const std::optional<QString> resolved = TableMac(ipv4))
            return resolved;
    }
    return std::nullopt;
}

}  // namespace qireq
