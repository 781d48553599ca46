#include "support/PrivateNetwork.h"

#include <QProcess>
#include <QRegularExpression>

#include <unistd.h>

namespace qireq::test {

namespace {

QString& Problem()
{
    static QString problem = QStringLiteral("not started by NetnsMain");
    return problem;
}

// "link/ether aa:bb:cc:dd:ee:ff" out of `ip link show`.
QString MacOf(const QStringList& prefix, const QString& device)
{
    QProcess ip;
    ip.start(QStringLiteral("ip"), prefix + QStringList{"link", "show", device});
    if (!ip.waitForFinished(10000))
        return {};
    const QRegularExpression ether(QStringLiteral("link/ether ([0-9a-f:]{17})"));
    const QRegularExpressionMatch match = ether.match(QString::fromLatin1(ip.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).remove(QLatin1Char(':')).toUpper() : QString();
}

}  // namespace

void SetPrivateNetworkProblem(const QString& problem)
{
    Problem() = problem;
}

bool PrivateNetworkReady()
{
    return Problem().isEmpty();
}

QString PrivateNetworkProblem()
{
    return Problem();
}

bool Ip(const QStringList& arguments, QString* error)
{
    QProcess ip;
    ip.start(QStringLiteral("ip"), arguments);
    if (!ip.waitForFinished(10000) || ip.exitStatus() != QProcess::NormalExit || ip.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("ip %1: %2")
                         .arg(arguments.join(u' '), QString::fromLocal8Bit(ip.readAllStandardError()));
        return false;
    }
    return true;
}

UnitNamespace::UnitNamespace()
    : name_(QStringLiteral("qireq%1u").arg(::getpid())),
      hostIf_(QStringLiteral("qh%1").arg(::getpid())),
      unitIf_(QStringLiteral("qu%1").arg(::getpid()))
{
}

UnitNamespace::~UnitNamespace()
{
    if (made_)
        Ip({"netns", "del", name_});  // takes the veth pair with it
}

bool UnitNamespace::Make()
{
    if (!PrivateNetworkReady()) {
        error_ = PrivateNetworkProblem();
        return false;
    }
    Ip({"netns", "del", name_});  // left over from a run that crashed
    if (!Ip({"netns", "add", name_}, &error_))
        return false;
    made_ = true;
    const QString unitNet = UnitAddress() + QStringLiteral("/16");
    const QString hostNet = HostAddress() + QStringLiteral("/16");
    return Ip({"link", "add", hostIf_, "type", "veth", "peer", "name", unitIf_, "netns", name_}, &error_) &&
           Ip({"addr", "add", hostNet, "dev", hostIf_}, &error_) &&
           Ip({"link", "set", hostIf_, "up"}, &error_) &&
           Ip({"route", "add", "default", "dev", hostIf_}, &error_) &&
           Ip({"-n", name_, "addr", "add", unitNet, "dev", unitIf_}, &error_) &&
           Ip({"-n", name_, "link", "set", "lo", "up"}, &error_) &&
           Ip({"-n", name_, "link", "set", unitIf_, "up"}, &error_) &&
           Ip({"-n", name_, "route", "add", "default", "dev", unitIf_}, &error_);
}

QStringList UnitNamespace::AddUnitAddresses(int count)
{
    QStringList added;
    for (int i = 1; i <= count; ++i) {
        const QString address = QStringLiteral("10.77.%1.%2").arg(1 + (i - 1) / 250).arg(1 + (i - 1) % 250);
        if (Ip({"-n", name_, "addr", "add", address + QStringLiteral("/16"), "dev", unitIf_}, &error_))
            added << address;
    }
    return added;
}

QString UnitNamespace::UnitMac() const
{
    return MacOf({"-n", name_}, unitIf_);
}

QString UnitNamespace::HostMac() const
{
    return MacOf({}, hostIf_);
}

QStringList UnitNamespace::Exec(const QString& program, const QStringList& arguments) const
{
    return QStringList{"netns", "exec", name_, program} + arguments;
}

}  // namespace qireq::test
