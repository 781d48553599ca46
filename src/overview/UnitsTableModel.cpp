#include "overview/UnitsTableModel.h"

#include "state/MacText.h"

#include <QBrush>
#include <QColor>

namespace qireq {

namespace {

QString KindText(int kind)
{
    switch (kind) {
    case kSerialUnit: return QStringLiteral("serial");
    case kSsdpUnit: return QStringLiteral("LAN (SSDP)");
    case kModuleUnit: return QStringLiteral("LAN (module)");
    case kProbeUnit: return QStringLiteral("LAN (probe)");
    default: return QStringLiteral("LAN");
    }
}

QVariant Lamp(const QJsonObject& read, const char* key)
{
    const QJsonValue v = read.value(QLatin1String(key));
    if (!v.isBool())
        return {};
    return v.toBool() ? QStringLiteral("alarm") : QStringLiteral("normal");
}

QVariant Number(const QJsonObject& read, const char* key)
{
    const QJsonValue v = read.value(QLatin1String(key));
    return v.isDouble() ? QVariant(v.toInt()) : QVariant();
}

}  // namespace

QString OperatingTimeText(int minutes)
{
    return QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}

UnitsTableModel::UnitsTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void UnitsTableModel::SetUnits(const QVector<DeviceEntry>& units)
{
    beginResetModel();
    QVector<Row> rows;
    rows.reserve(units.size());
    for (const DeviceEntry& e : units) {
        Row row;
        row.Entry = e;
        const int old = RowOf(e.Address);
        if (old >= 0) {
            row.Read = rows_[old].Read;
            row.Result = rows_[old].Result;
            row.ResultOk = rows_[old].ResultOk;
        }
        rows.push_back(row);
    }
    rows_ = std::move(rows);
    endResetModel();
}

int UnitsTableModel::RowOf(const QString& address) const
{
    for (int i = 0; i < rows_.size(); ++i) {
        if (rows_[i].Entry.Address.compare(address, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void UnitsTableModel::SetRead(int row, const QJsonObject& fields)
{
    if (row < 0 || row >= rows_.size())
        return;
    for (auto it = fields.begin(); it != fields.end(); ++it)
        rows_[row].Read.insert(it.key(), it.value());
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void UnitsTableModel::SetResult(int row, const QString& text, bool ok)
{
    if (row < 0 || row >= rows_.size())
        return;
    rows_[row].Result = text;
    rows_[row].ResultOk = ok;
    emit dataChanged(index(row, ResultColumn), index(row, ResultColumn));
}

void UnitsTableModel::ClearResults()
{
    for (Row& row : rows_)
        row.Result.clear();
    if (!rows_.isEmpty())
        emit dataChanged(index(0, ResultColumn), index(static_cast<int>(rows_.size()) - 1, ResultColumn));
}

int UnitsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int UnitsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UnitsTableModel::Value(const Row& row, int column) const
{
    const QJsonObject& read = row.Read;
    switch (column) {
    case NameColumn: return row.Entry.Name;
    case LinkColumn: return row.Entry.Address;
    case MacColumn: {
        const QString mac = read.value(QStringLiteral("mac")).toString(row.Entry.Mac);
        return mac == kUnknownMac || mac.isEmpty() ? QString() : FormatMac(mac.toUpper(), QStringLiteral(":"));
    }
    case KindColumn: return KindText(row.Entry.Kind);
    case CapabilityColumn: return Number(read, "capability");
    case TemperatureColumn: return read.value(QStringLiteral("temperature_text")).toVariant();
    case ProtectedColumn: return Lamp(read, "protected");
    case TemperatureStateColumn: return Lamp(read, "temperature_alarm");
    case VoltageStateColumn: return Lamp(read, "voltage_alarm");
    case StandbyColumn: {
        const QJsonValue v = read.value(QStringLiteral("standby"));
        return v.isBool() ? QVariant(v.toBool() ? QStringLiteral("on") : QStringLiteral("off")) : QVariant();
    }
    case BurnCountColumn: return Number(read, "burn_count");
    case OperatingTimeColumn: return Number(read, "minutes");
    case ResultColumn: return row.Result;
    default: return {};
    }
}

QVariant UnitsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const Row& row = rows_[index.row()];
    if (role == Qt::UserRole)
        return Value(row, index.column());
    if (role == Qt::DisplayRole) {
        const QVariant v = Value(row, index.column());
        if (index.column() == OperatingTimeColumn && v.isValid())
            return OperatingTimeText(v.toInt());
        return v;
    }
    if (role == Qt::ForegroundRole && index.column() == ResultColumn && !row.ResultOk)
        return QBrush(QColor(Qt::red));
    return {};
}

QVariant UnitsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const names[ColumnCount] = {
        "Name", "Port or IP", "MAC", "Kind", "Capability", "Temperature", "Protected State", "Temperature State",
        "Voltage State", "Standby", "Burn Count", "Operating Time", "Last Result"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QString();
}

}  // namespace qireq
