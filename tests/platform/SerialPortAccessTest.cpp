// Whether a user may open a serial port, and which group to join: device
// nodes of several owners and modes, looked at by a child process that runs
// as nobody.
#include "platform/SerialPortAccess.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qireq {
namespace {

// The answer of SerialPortGroupNeeded(path) for the user nobody, from a
// child process: "-" for absent, else the group.
std::string AsNobody(const QString& path)
{
    int pipe[2];
    if (::pipe(pipe) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        const std::optional<QString> group = SerialPortGroupNeeded(path);
        const std::string answer = !dropped ? "not dropped" : group ? group->toStdString() : "-";
        (void)!::write(pipe[1], answer.data(), answer.size());
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string answer;
    char buffer[64];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(got));
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return answer;
}

TEST(SerialPortAccess, AUserOutsideThePortsGroupIsToldWhichGroupToJoin)
{
    const group* dialout = ::getgrnam("dialout");
    if (::geteuid() != 0 || dialout == nullptr)
        GTEST_SKIP() << "needs root and a dialout group";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString port = dir.filePath(QStringLiteral("ttyUSB7"));
    QFile node(port);
    ASSERT_TRUE(node.open(QIODevice::WriteOnly));
    node.close();
    ASSERT_EQ(::chown(QFile::encodeName(port).constData(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(port).constData(), 0660), 0);

    EXPECT_EQ(AsNobody(port), "dialout");
    EXPECT_FALSE(SerialPortGroupNeeded(port).has_value()) << "root may open it";
    EXPECT_EQ(AsNobody(dir.filePath(QStringLiteral("ttyUSB8"))), "-") << "a missing port is no refusal";
    ASSERT_EQ(::chmod(QFile::encodeName(port).constData(), 0666), 0);
    EXPECT_EQ(AsNobody(port), "-");

    // No group to name when joining it would not let the user in.
    ASSERT_EQ(::chmod(QFile::encodeName(port).constData(), 0600), 0);
    EXPECT_EQ(AsNobody(port), "") << "the group may not use the node";
    ASSERT_EQ(::chown(QFile::encodeName(port).constData(), 0, 0), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(port).constData(), 0660), 0);
    EXPECT_EQ(AsNobody(port), "") << "root's group is no advice";
}

}  // namespace
}  // namespace qireq
