#pragma once
// The Units table: one row per unit of the device list, with what the last
// read told of it and the last run's result. Sorting is the view's (a
// QSortFilterProxyModel over this model); each column sorts by its value
// (numbers as numbers) through Qt::UserRole.
#include "fleet/UnitResult.h"
#include "state/DeviceEntry.h"

#include <QAbstractTableModel>
#include <QJsonObject>
#include <QVector>

namespace qireq {

class UnitsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        NameColumn,
        LinkColumn,  // port or IP
        MacColumn,
        KindColumn,
        CapabilityColumn,
        TemperatureColumn,
        ProtectedColumn,
        TemperatureStateColumn,
        VoltageStateColumn,
        StandbyColumn,
        BurnCountColumn,
        OperatingTimeColumn,
        ResultColumn,
        ColumnCount
    };

    explicit UnitsTableModel(QObject* parent = nullptr);

    // The device list as it stands now; what was read of a unit that is
    // still listed stays.
    void SetUnits(const QVector<DeviceEntry>& units);
    const DeviceEntry& Unit(int row) const { return rows_[row].Entry; }
    int RowOf(const QString& address) const;  // -1 when not listed

    // The fields a read gave ("capability", "temperature_text", ...).
    void SetRead(int row, const QJsonObject& fields);
    void SetResult(int row, const QString& text, bool ok);
    void ClearResults();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        DeviceEntry Entry;
        QJsonObject Read;
        QString Result;
        bool ResultOk = true;
    };
    QVariant Value(const Row& row, int column) const;

    QVector<Row> rows_;
};

// "2 h 5 min" for an operating time in minutes.
QString OperatingTimeText(int minutes);

}  // namespace qireq
