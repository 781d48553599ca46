#include "fleet/UnitTarget.h"

namespace qireq::fleet {

QString UnitTarget::Label() const
{
    if (IsSerial())
        return Address;
    return QStringLiteral("%1:%2").arg(Address).arg(Port);
}

UnitTarget UnitTarget::Serial(const QString& port)
{
    UnitTarget t;
    t.Type = Kind::Serial;
    t.Address = port;
    return t;
}

std::optional<UnitTarget> ParseTcpTarget(const QString& text, QString* error)
{
    UnitTarget t;
    t.Type = UnitTarget::Kind::Tcp;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    t.Address = colon < 0 ? text : text.left(colon);
    if (colon >= 0) {
        bool ok = false;
        const uint port = text.mid(colon + 1).toUInt(&ok);
        if (!ok || port == 0 || port > 65535) {
            if (error)
                *error = QStringLiteral("--tcp wants HOST or HOST:PORT (port 1..65535), not \"%1\"").arg(text);
            return std::nullopt;
        }
        t.Port = static_cast<quint16>(port);
    }
    if (t.Address.isEmpty()) {
        if (error)
            *error = QStringLiteral("--tcp wants HOST or HOST:PORT, not \"%1\"").arg(text);
        return std::nullopt;
    }
    return t;
}

}  // namespace qireq::fleet
