#include "protocol/InfoMessageText.h"

#include <algorithm>

namespace qireq {

namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kMinutesPerDay = 24 * kMinutesPerHour;

QString Counted(int number, const char* singular, const char* plural)
{
    return QString::number(number) + QLatin1Char(' ') +
           QLatin1String(number < 2 ? singular : plural);
}

}  // namespace

QString InfoMessageText(int burnCount, int totalMinutes)
{
    const int minutesTotal = std::max(totalMinutes, 0);
    const int days = minutesTotal / kMinutesPerDay;
    const int rest = minutesTotal % kMinutesPerDay;
    const int hours = rest / kMinutesPerHour;
    const int minutes = rest % kMinutesPerHour;
    return QStringLiteral("Burning success times:") + QString::number(burnCount) +
           QLatin1Char('\n') + QStringLiteral("Time:") + Counted(days, "day", "days") +
           QStringLiteral(", ") + Counted(hours, "hour", "hours") + QStringLiteral(", ") +
           Counted(minutes, "minute", "minutes");
}

}  // namespace qireq
