#pragma once
// A venue snapshot: what every unit of an installation held when it was
// read, so the installation can be put back as it was. Stored as versioned
// JSON (the schema is in README.md); the 74-byte block is the record that
// counts, the decoded bands, trim and bypass beside it are for people and
// scripts. A file is taken whole or not at all: any fault refuses it.
#include "eq/EqBlock.h"
#include "state/MacText.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace qireq::fleet {

inline constexpr int kSnapshotVersion = 1;
inline const QString kSnapshotFormat = QStringLiteral("qireq-venue-snapshot");

struct SnapshotUnit {
    std::optional<MacBytes> Mac;  // absent: the unit never told it (serial)
    QString Name;
    bool Serial = false;          // link: serial port or TCP
    QString Address;              // port name, or HOST:PORT
    std::optional<int> Capability;
    EqBlock Block{};
    QDateTime ReadAt;

    // "00:1A:2B:3C:4D:5E", or the address with "(by address)" when the MAC is unknown.
    QString Key() const;
};

struct VenueSnapshot {
    QDateTime Saved;
    std::vector<SnapshotUnit> Units;
};

QByteArray SnapshotJson(const VenueSnapshot& snapshot);

// The units read, as a snapshot saved now; absent with *error when one unit
// was read twice (by two addresses), since such a file would be refused.
std::optional<VenueSnapshot> SnapshotOf(const std::vector<SnapshotUnit>& units, QString* error);

struct SnapshotLoad {
    std::optional<VenueSnapshot> Snapshot;
    QString Error;  // why the file was refused
};
// Refuses text that is not JSON, another format or version, a unit
// without a valid block (hex of 74 bytes with a block's signature) or a
// unit listed twice (same MAC, or same address where the MAC is unknown).
SnapshotLoad ParseSnapshot(const QByteArray& json);
SnapshotLoad ReadSnapshotFile(const QString& path);
// Written through a temporary file, so a failed save leaves the old one.
QString WriteSnapshotFile(const QString& path, const VenueSnapshot& snapshot);

}  // namespace qireq::fleet
