#pragma once
// One known unit, as the device column lists it.
#include <QString>

namespace qireq {

// Kinds of unit by the way it was found. Only serial versus LAN is ever
// consulted; the LAN kinds say which discovery path heard the unit first.
enum DeviceKind : int {
    kSerialUnit = 0,
    kSsdpUnit = 1,      // SSDP announcement
    kModuleUnit = 2,    // answer on UDP port 48899
    kProbeUnit = 3,     // answer to the probe on UDP port 8000
};

inline const QString kUnknownMac = QStringLiteral("FFFFFFFFFFFF");

struct DeviceEntry {
    int Index = -1;    // position in the list; renumbered after every removal
    QString Name;      // "Device<Index>" at first, later the unit's own name
    QString Address;   // serial port name or IPv4 text, the unit's key
    QString Mac;       // 12 hexadecimal digits, kUnknownMac until reported
    int Kind = kSerialUnit;

    bool IsSerial() const { return Kind == kSerialUnit; }
};

}  // namespace qireq
