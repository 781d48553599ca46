#include "protocol/StatusReply.h"

#include <array>
#include <cstdint>

namespace qireq {

namespace {

constexpr int kRawLowOffset = 9;
constexpr int kRawHighOffset = 10;
constexpr int kProtectOffset = 17;
constexpr int kTempOffset = 18;
constexpr int kVoltageOffset = 19;
constexpr int kStandbyOffset = 20;
constexpr int kMinStatusSize = kStandbyOffset + 1;

struct TemperatureRow {
    int RawBelow;  // the row holds readings below this limit
    int Degrees;
};

// Tested from the top; a reading of 920 or more shows -10.
constexpr std::array<TemperatureRow, 9> kTemperatureRows{{
    {245, 80},
    {368, 70},
    {409, 60},
    {511, 50},
    {613, 40},
    {642, 30},
    {777, 20},
    {859, 10},
    {920, 0},
}};
constexpr int kColdestDegrees = -10;

bool FlagAt(const QByteArray& frame, int offset)
{
    return frame[offset] != '\0';
}

}  // namespace

int ShownTemperature(int raw)
{
    for (const TemperatureRow& row : kTemperatureRows) {
        if (raw < row.RawBelow)
            return row.Degrees;
    }
    return kColdestDegrees;
}

QString TemperatureText(int degrees)
{
    return QStringLiteral("Temperature:") + QString::number(degrees) + QChar(0x2103);
}

std::optional<StatusReading> ReadStatusReply(const QByteArray& frame)
{
    if (frame.size() < kMinStatusSize)
        return std::nullopt;
    StatusReading reading{};
    reading.RawTemperature = static_cast<std::uint8_t>(frame[kRawLowOffset]) +
                             256 * static_cast<std::uint8_t>(frame[kRawHighOffset]);
    reading.Degrees = ShownTemperature(reading.RawTemperature);
    reading.TempText = TemperatureText(reading.Degrees);
    reading.ProtectAlarm = FlagAt(frame, kProtectOffset);
    reading.TempAlarm = FlagAt(frame, kTempOffset);
    reading.VoltageAlarm = FlagAt(frame, kVoltageOffset);
    reading.Standby = FlagAt(frame, kStandbyOffset);
    return reading;
}

}  // namespace qireq
