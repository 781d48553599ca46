#include "filters/ImportedFilter.h"

namespace qireq {

QString DescribeFilter(const ImportedFilter& filter)
{
    QString text = QStringLiteral("%1 %2 Hz").arg(filter.TypeText).arg(filter.Hz, 0, 'g', 6);
    const bool hasQ = filter.Kind == ImportedKind::Peak || filter.Width == ShelfWidth::Q;
    if (hasQ)
        text += QStringLiteral(" Q %1").arg(filter.Q, 0, 'f', 2);
    text += QStringLiteral(" %1%2 dB")
                .arg(filter.GainDb > 0 ? QStringLiteral("+") : QString())
                .arg(filter.GainDb, 0, 'f', 1);
    return text;
}

}  // namespace qireq
