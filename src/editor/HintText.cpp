#include "editor/HintText.h"

#include "eq/EqDisplay.h"

namespace qireq {

namespace {
QString BandCaption(int bandNumber)
{
    return QStringLiteral("Master EQ") + QString::number(bandNumber);
}
}  // namespace

HintText TypeHint(int bandNumber, int typeIndex)
{
    return {BandCaption(bandNumber), QStringLiteral("Type:"), TypeName(typeIndex)};
}

HintText FreqHint(int bandNumber, const QString& fieldText)
{
    return {BandCaption(bandNumber), QStringLiteral("Freq:"), fieldText + QStringLiteral("Hz")};
}

HintText QHint(int bandNumber, const QString& fieldText)
{
    return {BandCaption(bandNumber), QStringLiteral("Q:"), fieldText};
}

HintText GainHint(int bandNumber, int sliderPosition)
{
    return {BandCaption(bandNumber), QStringLiteral("Gain:"), GainText(-sliderPosition)};
}

HintText OnOffHint(int bandNumber, int shownOff)
{
    return {BandCaption(bandNumber), QString(), OffText(shownOff)};
}

}  // namespace qireq
