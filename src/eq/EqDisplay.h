#pragma once
// How EQ values are shown in the band controls and hints.
#include <QString>

namespace qireq {

QString FrequencyText(int step);   // "0.0" pattern: "19.7", "1000.0", "20160.0"
QString QText(int step);           // "0.00" pattern: "0.40", "3.00", "128.00"
QString GainText(int gainDb);      // "-6 dB", "12 dB", "0 dB"
QString TrimText(int trim);        // "0", "-18"
QString TypeName(int typeIndex);   // "High Shelf", "Peak", "Low Shelf"
QString OffText(int off);          // "Off" when 1, "On" when 0

}  // namespace qireq
