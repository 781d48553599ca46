#include "fleet/VenueSnapshot.h"

#include "fleet/EqText.h"

#include "presets/PresetRecord.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>

namespace qireq::fleet {

namespace {

QString Link(bool serial) { return serial ? QStringLiteral("serial") : QStringLiteral("tcp"); }

QJsonObject UnitJson(const SnapshotUnit& u)
{
    QJsonObject o;
    o.insert(QStringLiteral("mac"), u.Mac ? QJsonValue(MacWithColons(*u.Mac)) : QJsonValue());
    o.insert(QStringLiteral("name"), u.Name);
    o.insert(QStringLiteral("link"), Link(u.Serial));
    o.insert(QStringLiteral("address"), u.Address);
    o.insert(QStringLiteral("capability"), u.Capability ? QJsonValue(*u.Capability) : QJsonValue());
    o.insert(QStringLiteral("read_at"), u.ReadAt.toUTC().toString(Qt::ISODate));
    const QByteArray bytes(reinterpret_cast<const char*>(u.Block.data()), kEqBlockSize);
    o.insert(QStringLiteral("block"), QString::fromLatin1(bytes.toHex().toUpper()));
    o.insert(QStringLiteral("eq"), EqJson(u.Block));
    return o;
}

// One unit of the file, or the reason it is refused.
std::optional<SnapshotUnit> UnitOf(const QJsonObject& o, int number, QString& error)
{
    SnapshotUnit u;
    const auto refuse = [&](const QString& why) {
        error = QStringLiteral("unit %1 of the snapshot: %2").arg(number).arg(why);
        return std::nullopt;
    };
    const QJsonValue mac = o.value(QStringLiteral("mac"));
    if (mac.isString()) {
        u.Mac = ParseMacAddress(mac.toString());
        if (!u.Mac)
            return refuse(QStringLiteral("\"%1\" is not a MAC address").arg(mac.toString()));
    } else if (!mac.isNull() && !mac.isUndefined()) {
        return refuse(QStringLiteral("the MAC is not text"));
    }
    u.Name = o.value(QStringLiteral("name")).toString();
    const QString link = o.value(QStringLiteral("link")).toString();
    if (link != QLatin1String("serial") && link != QLatin1String("tcp"))
        return refuse(QStringLiteral("the link is \"%1\", not serial or tcp").arg(link));
    u.Serial = link == QLatin1String("serial");
    u.Address = o.value(QStringLiteral("address")).toString();
    if (u.Address.isEmpty())
        return refuse(QStringLiteral("no address"));
    const QJsonValue capability = o.value(QStringLiteral("capability"));
    if (capability.isDouble())
        u.Capability = capability.toInt();
    u.ReadAt = QDateTime::fromString(o.value(QStringLiteral("read_at")).toString(), Qt::ISODate);
    const QString hex = o.value(QStringLiteral("block")).toString();
    const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
    if (hex.size() != bytes.size() * 2 || hex.contains(QLatin1Char(' ')))
        return refuse(QStringLiteral("the block is not hexadecimal digits"));
    if (bytes.size() != kEqBlockSize)
        return refuse(QStringLiteral("the block is %1 bytes, not %2").arg(bytes.size()).arg(kEqBlockSize));
    std::copy_n(bytes.cbegin(), kEqBlockSize, u.Block.begin());
    if (!HasPresetSignature(u.Block))
        return refuse(QStringLiteral("the block's signature is wrong (bytes 0 and 5 are %1 and %2, not 01 and 14)")
                          .arg(bytes.mid(0, 1).toHex().toUpper(), bytes.mid(5, 1).toHex().toUpper()));
    return u;
}

SnapshotLoad Refused(const QString& why)
{
    SnapshotLoad load;
    load.Error = why;
    return load;
}

}  // namespace

QString SnapshotUnit::Key() const
{
    if (Mac)
        return MacWithColons(*Mac);
    return QStringLiteral("%1 (by address)").arg(Address);
}

QByteArray SnapshotJson(const VenueSnapshot& snapshot)
{
    QJsonObject root;
    root.insert(QStringLiteral("format"), kSnapshotFormat);
    root.insert(QStringLiteral("version"), kSnapshotVersion);
    root.insert(QStringLiteral("saved"), snapshot.Saved.toUTC().toString(Qt::ISODate));
    QJsonArray units;
    for (const SnapshotUnit& u : snapshot.Units)
        units.append(UnitJson(u));
    root.insert(QStringLiteral("units"), units);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<VenueSnapshot> SnapshotOf(const std::vector<SnapshotUnit>& units, QString* error)
{
    VenueSnapshot snapshot;
    snapshot.Saved = QDateTime::currentDateTimeUtc();
    QSet<QString> keys;
    for (const SnapshotUnit& u : units) {
        if (keys.contains(u.Key().toUpper())) {
            if (error)
                *error = QStringLiteral("%1 was reached twice (again as %2): no snapshot written").arg(u.Key(), u.Address);
            return std::nullopt;
        }
        keys.insert(u.Key().toUpper());
        snapshot.Units.push_back(u);
    }
    if (snapshot.Units.empty()) {
        if (error)
            *error = QStringLiteral("no unit was read: no snapshot written");
        return std::nullopt;
    }
    return snapshot;
}

SnapshotLoad ParseSnapshot(const QByteArray& json)
{
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError)
        return Refused(QStringLiteral("not a venue snapshot: the JSON is broken at byte %1 (%2)")
                           .arg(parse.offset)
                           .arg(parse.errorString()));
    if (!doc.isObject())
        return Refused(QStringLiteral("not a venue snapshot: the JSON is not an object"));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kSnapshotFormat)
        return Refused(QStringLiteral("not a venue snapshot: \"format\" is not \"%1\"").arg(kSnapshotFormat));
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != kSnapshotVersion)
        return Refused(QStringLiteral("snapshot version %1 is not one this program reads (it reads version %2)")
                           .arg(version.isDouble() ? QString::number(version.toDouble()) : QStringLiteral("missing"))
                           .arg(kSnapshotVersion));
    const QJsonValue units = root.value(QStringLiteral("units"));
    if (!units.isArray())
        return Refused(QStringLiteral("not a venue snapshot: \"units\" is not a list"));
    VenueSnapshot snapshot;
    snapshot.Saved = QDateTime::fromString(root.value(QStringLiteral("saved")).toString(), Qt::ISODate);
    QSet<QString> keys;
    int number = 0;
    for (const QJsonValue& value : units.toArray()) {
        ++number;
        if (!value.isObject())
            return Refused(QStringLiteral("unit %1 of the snapshot is not an object").arg(number));
        QString error;
        const auto unit = UnitOf(value.toObject(), number, error);
        if (!unit)
            return Refused(error);
        const QString key = unit->Key().toUpper();
        if (keys.contains(key))
            return Refused(QStringLiteral("unit %1 of the snapshot: %2 is listed twice").arg(number).arg(unit->Key()));
        keys.insert(key);
        snapshot.Units.push_back(*unit);
    }
    SnapshotLoad load;
    load.Snapshot = std::move(snapshot);
    return load;
}

SnapshotLoad ReadSnapshotFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Refused(QStringLiteral("Cannot open file %1").arg(path));
    return ParseSnapshot(file.readAll());
}

QString WriteSnapshotFile(const QString& path, const VenueSnapshot& snapshot)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create file %1").arg(path);
    file.write(SnapshotJson(snapshot));
    if (!file.commit())
        return QStringLiteral("Cannot write file %1").arg(path);
    return {};
}

}  // namespace qireq::fleet
