#pragma once
// One unit to talk to: a serial port, or a TCP address (port 5000 unless
// given). Its label is how results and messages name it.
#include <QString>

#include <optional>

namespace qireq::fleet {

inline constexpr quint16 kUnitTcpPort = 5000;

struct UnitTarget {
    enum class Kind { Serial, Tcp };
    Kind Type = Kind::Tcp;
    QString Address;            // port name/path, or host
    quint16 Port = kUnitTcpPort;  // TCP only
    QString Name;               // known from discovery, else empty

    bool IsSerial() const { return Type == Kind::Serial; }
    // "/dev/ttyUSB0", "COM3" or "10.0.0.5:5000".
    QString Label() const;

    static UnitTarget Serial(const QString& port);
};

// "HOST" or "HOST:PORT"; absent (with *error) for a bad port.
std::optional<UnitTarget> ParseTcpTarget(const QString& text, QString* error);

}  // namespace qireq::fleet
