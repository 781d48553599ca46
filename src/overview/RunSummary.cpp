#include "overview/RunSummary.h"

namespace qireq {

namespace {

QString DoneWords(RunKind kind)
{
    switch (kind) {
    case RunKind::Read: return QStringLiteral("read");
    case RunKind::Push: return QStringLiteral("written and verified");
    case RunKind::SnapshotSave: return QStringLiteral("saved to the snapshot");
    case RunKind::SnapshotDiff: return QStringLiteral("compared with the snapshot");
    case RunKind::SnapshotRestore: return QStringLiteral("as in the snapshot, verified");
    case RunKind::Report: return QStringLiteral("read for the report");
    }
    return {};
}

}  // namespace

QString RunSummary(RunKind kind, const std::vector<fleet::UnitResult>& results)
{
    int ok = 0, failed = 0, cancelled = 0;
    for (const fleet::UnitResult& r : results) {
        if (r.Cancelled)
            ++cancelled;
        else if (r.Ok)
            ++ok;
        else
            ++failed;
    }
    const int total = static_cast<int>(results.size());
    QString text = QStringLiteral("%1 of %2 unit%3 %4").arg(ok).arg(total).arg(total == 1 ? "" : "s", DoneWords(kind));
    if (failed > 0)
        text += QStringLiteral("; %1 failed").arg(failed);
    if (cancelled > 0)
        text += QStringLiteral("; %1 cancelled").arg(cancelled);
    return text;
}

QString RowResult(const fleet::UnitResult& r)
{
    if (r.Ok)
        return r.Lines.isEmpty() ? QStringLiteral("ok") : QStringLiteral("ok: ") + r.Lines.join(QStringLiteral("; "));
    return r.Error;
}

}  // namespace qireq
