#pragma once
// The text of the "More Info" box: a unit's burn count and operating time.
#include <QString>

namespace qireq {

// "Burning success times:<count>\nTime:<d> day(s), <h> hour(s), <m> minute(s)",
// each word singular below 2. Negative minutes count as 0.
QString InfoMessageText(int burnCount, int totalMinutes);

}  // namespace qireq
