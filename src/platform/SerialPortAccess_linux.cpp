// Device-node permissions on Linux: access() answers for this user, stat()
// names the group that owns the node.
#include "platform/SerialPortAccess.h"

#include <QByteArray>

#include <cerrno>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qireq {

namespace {

QString GroupName(gid_t gid)
{
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(4096);
    while (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    return found ? QString::fromLocal8Bit(found->gr_name) : QString();
}

}  // namespace

std::optional<QString> SerialPortGroupNeeded(const QString& port)
{
    const QByteArray path =
        (port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port).toLocal8Bit();
    if (::access(path.constData(), R_OK | W_OK) == 0 || (errno != EACCES && errno != EPERM))
        return std::nullopt;
    struct stat node {};
    if (::stat(path.constData(), &node) != 0)
        return QString();
    const bool groupMayUse = (node.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (!groupMayUse || node.st_gid == 0)
        return QString();
    return GroupName(node.st_gid);
}

}  // namespace qireq
