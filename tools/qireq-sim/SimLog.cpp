#include "SimLog.h"

#include <cstdio>

namespace qireq::sim {

QString HexLine(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

SimLog::SimLog()
    : sink_([](const QString& line) {
          const QByteArray text = line.toUtf8() + '\n';
          std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
          std::fflush(stdout);
      })
{
}

void SimLog::Bytes(const QString& tag, const QByteArray& bytes) const
{
    Line(bytes.isEmpty() ? tag : tag + u' ' + HexLine(bytes));
}

SimLog SimLog::Prefixed(const QString& prefix) const
{
    return SimLog([sink = sink_, prefix](const QString& line) { sink(prefix + line); });
}

}  // namespace qireq::sim
