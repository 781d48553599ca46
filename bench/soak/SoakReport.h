#pragma once
// The soak's figures, one summary line each, and the targets they must meet.
#include "SoakDriver.h"

#include <QStringList>

#include <map>

namespace qireq::soak {

struct SoakFigures {
    int soakSeconds = 0;
    DriverFigures driver;
    std::map<QString, int> faults;  // injected, per kind
    long rssStartKb = 0;
    long rssEndKb = 0;
    int fdsStart = 0;
    int fdsEnd = 0;
    int idleSeconds = 0;
    double idleCpuSeconds = 0;
    int failedBoxes = 0;     // "Conenction failed": an attempt that met a fault
    QStringList otherBoxes;  // anything else the window said
};

// Targets.
inline constexpr long kRssGrowthLimitKb = 5 * 1024;
inline constexpr double kIdleCpuLimitPercent = 1.0;

// Writes the summary lines to stdout and returns the targets missed, one
// text each; none when all were met.
QStringList PrintReport(const SoakFigures& figures);

}  // namespace qireq::soak
