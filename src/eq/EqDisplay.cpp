#include "eq/EqDisplay.h"

#include "eq/EqEncoding.h"

namespace qireq {

// QString::number is locale-independent: always "." and no group separator,
// which is what the "0.0" and "0.00" picture formats give.

QString FrequencyText(int step)
{
    return QString::number(FrequencyOf(step), 'f', 1);
}

QString QText(int step)
{
    return QString::number(QOf(step), 'f', 2);
}

QString GainText(int gainDb)
{
    return QString::number(gainDb) + QStringLiteral(" dB");
}

QString TrimText(int trim)
{
    return QString::number(trim);
}

QString TypeName(int typeIndex)
{
    switch (DecodeType(EncodeType(typeIndex))) {
    case kHighShelf:
        return QStringLiteral("High Shelf");
    case kLowShelf:
        return QStringLiteral("Low Shelf");
    default:
        return QStringLiteral("Peak");
    }
}

QString OffText(int off)
{
    return off != 0 ? QStringLiteral("Off") : QStringLiteral("On");
}

}  // namespace qireq
