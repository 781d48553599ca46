#pragma once
// The three texts of the hint line on the top bar, for the control under
// the mouse. Band numbers follow "Master EQ" without a separator.
#include <QString>

namespace qireq {

struct HintText {
    QString Label1;
    QString Label2;
    QString Label3;
};

HintText TypeHint(int bandNumber, int typeIndex);
HintText FreqHint(int bandNumber, const QString& fieldText);
HintText QHint(int bandNumber, const QString& fieldText);
HintText GainHint(int bandNumber, int sliderPosition);
HintText OnOffHint(int bandNumber, int shownOff);

}  // namespace qireq
