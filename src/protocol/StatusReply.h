#pragma once
// The status reply of units that report temperature and state flags: what
// the status row shows for it. Pure: the main window paints the result.
#include <QByteArray>
#include <QString>

#include <optional>

namespace qireq {

// Degrees shown for a raw temperature reading (the reading falls as the
// temperature rises): 80, 70, 60, 50, 40, 30, 20, 10, 0 or -10.
int ShownTemperature(int raw);

// "Temperature:" + degrees + "℃", for example "Temperature:-10℃".
QString TemperatureText(int degrees);

struct StatusReading {
    int RawTemperature;  // byte 9 + 256 * byte 10
    int Degrees;         // ShownTemperature(RawTemperature)
    QString TempText;    // TemperatureText(Degrees)
    // Lamp states: true paints the lamp red, false green.
    bool ProtectAlarm;   // byte 17
    bool TempAlarm;      // byte 18
    bool VoltageAlarm;   // byte 19
    bool Standby;        // byte 20
};

// Absent for a reply too short to hold bytes 9 to 20: such a reply changes
// nothing on the status row.
std::optional<StatusReading> ReadStatusReply(const QByteArray& frame);

}  // namespace qireq
