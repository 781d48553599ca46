#include "SoakFaultLogs.h"

namespace qireq::soak {

bool SoakFaultLogs::Watch(const QString& path, int unit)
{
    auto source = std::make_unique<Source>();
    source->file.setFileName(path);
    source->unit = unit;
    // Unbuffered: every read asks the file again for what was appended.
    if (!source->file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    sources_.push_back(std::move(source));
    return true;
}

void SoakFaultLogs::Poll(qint64 nowMs)
{
    for (const auto& source : sources_) {
        source->partial += source->file.readAll();
        qsizetype end = 0;
        while ((end = source->partial.indexOf('\n')) >= 0) {
            const QByteArray line = source->partial.left(end);
            source->partial.remove(0, end + 1);
            if (!line.startsWith("FAULT "))
                continue;
            events_.push_back({nowMs, source->unit, QString::fromLatin1(line.split(' ').value(1))});
        }
    }
}

std::map<QString, int> SoakFaultLogs::CountByKind() const
{
    std::map<QString, int> counts;
    for (const FaultEvent& event : events_)
        ++counts[event.kind];
    return counts;
}

std::optional<FaultEvent> SoakFaultLogs::LatestBefore(int unit, qint64 atMs, qint64 windowMs) const
{
    for (auto it = events_.rbegin(); it != events_.rend(); ++it) {
        if (it->atMs > atMs)
            continue;
        if (it->atMs < atMs - windowMs)
            break;
        if (it->unit == unit)
            return *it;
    }
    return std::nullopt;
}

}  // namespace qireq::soak
