#include "platform/SerialPortEnumeration.h"

#include <QFileInfo>

#include <algorithm>

namespace qireq {

namespace {

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The end of the digit run that starts at from.
qsizetype DigitRunEnd(const QString& s, qsizetype from)
{
    while (from < s.size() && IsDigit(s[from]))
        ++from;
    return from;
}

// Compares two digit runs by value without converting them, so a run of
// any length works: leading zeros are skipped, then the longer run is the
// larger, then the first differing digit decides. -1, 0 or 1.
int CompareDigitRuns(QStringView a, QStringView b)
{
    auto skipZeros = [](QStringView run) {
        qsizetype i = 0;
        while (i + 1 < run.size() && run[i] == QLatin1Char('0'))
            ++i;
        return run.mid(i);
    };
    const QStringView x = skipZeros(a);
    const QStringView y = skipZeros(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    const int digits = x.compare(y);
    if (digits != 0)
        return digits < 0 ? -1 : 1;
    // Same value: the run with fewer leading zeros first, for a total order.
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

}  // namespace

bool NaturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const qsizetype endA = DigitRunEnd(a, i);
            const qsizetype endB = DigitRunEnd(b, j);
            const int order = CompareDigitRuns(QStringView(a).mid(i, endA - i),
                QStringView(b).mid(j, endB - j));
            if (order != 0)
                return order < 0;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

void SortPortNamesNaturally(QStringList& names)
{
    std::stable_sort(names.begin(), names.end(), NaturalLess);
}

QStringList ExtraSerialPorts()
{
    QStringList extra;
    const QString listed = qEnvironmentVariable(kExtraSerialPortsVariable);
    for (const QString& path : listed.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QFileInfo::exists(path) && !extra.contains(path))
            extra.append(path);
    }
    return extra;
}

}  // namespace qireq
