#pragma once
// Tests of what crosses a network run in a network of their own. A test
// program built with NetnsMain.cpp moves itself into a new, empty network
// namespace before anything else starts (every thread made afterwards
// belongs to it), so its broadcasts, multicast memberships and ARP stay
// there. Only loopback is up in it at first; UnitNamespace adds a second
// namespace for simulated units, joined to this one by a veth pair.
// Needs root; where that fails, PrivateNetworkReady() is false and the
// tests skip.
#include <QString>
#include <QStringList>

namespace qireq::test {

// Whether the program runs in its private namespace; otherwise why not.
bool PrivateNetworkReady();
QString PrivateNetworkProblem();
// NetnsMain's report: empty once the namespace stands.
void SetPrivateNetworkProblem(const QString& problem);

// Runs `ip` with the arguments; false with the reason in *error.
bool Ip(const QStringList& arguments, QString* error = nullptr);

// A namespace for simulated units beside the program's own: the program's
// side of the veth pair is HostAddress()/24, the units' side UnitAddress()
// (and any extra addresses), each side with a default route over the pair
// so 255.255.255.255 can leave. Removed again by the destructor.
class UnitNamespace {
public:
    UnitNamespace();
    ~UnitNamespace();
    UnitNamespace(const UnitNamespace&) = delete;
    UnitNamespace& operator=(const UnitNamespace&) = delete;

    // False, with the reason in Error(), when it could not be made.
    bool Make();
    // count more addresses on the units' side: 10.77.1.1, 10.77.1.2, ...
    // (a /16 around the pair); returns them.
    QStringList AddUnitAddresses(int count);

    QString Name() const { return name_; }
    static QString HostAddress() { return QStringLiteral("10.77.0.1"); }
    static QString UnitAddress() { return QStringLiteral("10.77.0.2"); }
    // The hardware address of the units' side, as 12 upper-case digits.
    QString UnitMac() const;
    QString HostMac() const;
    QString Error() const { return error_; }
    // `program arguments...` run inside the units' namespace, as a command
    // line for QProcess: ip netns exec NAME program arguments...
    QStringList Exec(const QString& program, const QStringList& arguments) const;

private:
    QString name_;
    QString hostIf_;
    QString unitIf_;
    QString error_;
    bool made_ = false;
};

}  // namespace qireq::test
