// The main of test programs that run in a private network namespace (see
// PrivateNetwork.h): the process moves into a new one before GoogleTest or
// Qt start any thread, brings its loopback up, and runs the tests with one
// QApplication. Where the namespace cannot be made the tests skip.
#include "support/PrivateNetwork.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cerrno>
#include <cstring>

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString EnterPrivateNetwork()
{
    if (::unshare(CLONE_NEWNET) != 0)
        return QStringLiteral("no network namespace of its own: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    const bool up = fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &request) == 0 &&
                    (request.ifr_flags |= IFF_UP, ::ioctl(fd, SIOCSIFFLAGS, &request) == 0);
    if (fd >= 0)
        ::close(fd);
    return up ? QString() : QStringLiteral("loopback stays down in the new namespace");
}

}  // namespace

int main(int argc, char** argv)
{
    // Before anything else, so every thread of the program lives in it.
    qireq::test::SetPrivateNetworkProblem(EnterPrivateNetwork());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
