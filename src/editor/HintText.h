#pragma once
// The three texts of the hint line on the top bar, for the control under
// the mouse: the band ("Master EQ3"; numbers follow without a separator),
// what is shown ("Freq:") and its value ("630.0Hz").
#include <QString>

namespace qireq {

struct HintText {
    QString Title;
    QString Subject;
    QString Value;
};

HintText TypeHint(int bandNumber, int typeIndex);
HintText FreqHint(int bandNumber, const QString& fieldText);
HintText QHint(int bandNumber, const QString& fieldText);
HintText GainHint(int bandNumber, int sliderPosition);
HintText OnOffHint(int bandNumber, int shownOff);

}  // namespace qireq
