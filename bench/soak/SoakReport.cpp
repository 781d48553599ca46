#include "SoakReport.h"

#include <algorithm>
#include <cstdio>

namespace qireq::soak {
namespace {

void Line(const QString& text)
{
    std::printf("%s\n", qUtf8Printable(text));
}

// "12 (silence 3, drop 4)" with the kinds in the given order first.
QString Breakdown(const std::map<QString, int>& counts, const QStringList& order)
{
    int total = 0;
    QStringList parts;
    for (const QString& kind : order) {
        const auto it = counts.find(kind);
        parts << QStringLiteral("%1 %2").arg(kind).arg(it == counts.end() ? 0 : it->second);
    }
    for (const auto& [kind, count] : counts) {
        total += count;
        if (!order.contains(kind))
            parts << QStringLiteral("%1 %2").arg(kind).arg(count);
    }
    return QStringLiteral("%1 (%2)").arg(total).arg(parts.join(QStringLiteral(", ")));
}

}  // namespace

QStringList PrintReport(const SoakFigures& f)
{
    const QStringList kinds{QStringLiteral("silence"), QStringLiteral("drop"),
                            QStringLiteral("flood"),   QStringLiteral("bytes"),
                            QStringLiteral("delay"),   QStringLiteral("duplicate"),
                            QStringLiteral("length"),  QStringLiteral("vanish")};
    QStringList missed;

    Line(QStringLiteral("crashes: 0"));

    int injected = 0;
    for (const auto& [kind, count] : f.faults)
        injected += count;
    Line(QStringLiteral("faults injected: %1").arg(Breakdown(f.faults, kinds)));
    if (injected == 0)
        missed << QStringLiteral("no fault was injected");

    std::map<QString, int> causes;
    int recovered = 0;
    qint64 longestMs = 0;
    qint64 totalMs = 0;
    for (const Loss& loss : f.driver.losses) {
        ++causes[loss.cause];
        if (loss.recoveredMs >= 0) {
            ++recovered;
            longestMs = std::max(longestMs, loss.recoveredMs);
            totalMs += loss.recoveredMs;
        }
    }
    const int losses = static_cast<int>(f.driver.losses.size());
    Line(QStringLiteral("connections lost: %1").arg(Breakdown(causes, kinds)));
    Line(QStringLiteral("reconnections: %1 of %2 lost connections won back by the reconnect loop, "
                        "longest after %3 s, on average %4 s")
             .arg(recovered)
             .arg(losses)
             .arg(static_cast<double>(longestMs) / 1000.0, 0, 'f', 1)
             .arg(recovered > 0 ? static_cast<double>(totalMs) / 1000.0 / recovered : 0.0, 0, 'f',
                  1));
    if (recovered < losses)
        missed << QStringLiteral("%1 lost connections not won back within %2 s")
                      .arg(losses - recovered)
                      .arg(SoakDriver::kRecoverLimitMs / 1000);
    if (causes.count(QStringLiteral("none")) > 0)
        missed << QStringLiteral("%1 connections lost with no fault before them")
                      .arg(causes[QStringLiteral("none")]);

    Line(QStringLiteral(
             "tile clicks: %1, attempts that failed: %2 (\"Conenction failed\" shown %3 times), "
             "units never reached: %4")
             .arg(f.driver.clicks)
             .arg(f.driver.failedAttempts)
             .arg(f.failedBoxes)
             .arg(f.driver.unreachable));
    if (f.driver.unreachable > 0)
        missed << QStringLiteral("a unit could not be connected for %1 s")
                      .arg(SoakDriver::kConnectLimitMs / 1000);
    if (!f.otherBoxes.isEmpty()) {
        Line(QStringLiteral("other messages: %1").arg(f.otherBoxes.join(QStringLiteral(" | "))));
        missed << QStringLiteral("the window showed %1 other messages").arg(f.otherBoxes.size());
    }

    const long growth = f.rssEndKb - f.rssStartKb;
    Line(QStringLiteral("rss: %1 kB at start, %2 kB at end (%3%4 kB; target at most +%5 kB)")
             .arg(f.rssStartKb)
             .arg(f.rssEndKb)
             .arg(growth >= 0 ? QStringLiteral("+") : QString())
             .arg(growth)
             .arg(kRssGrowthLimitKb));
    if (f.rssStartKb <= 0 || growth > kRssGrowthLimitKb)
        missed << QStringLiteral("resident memory grew by %1 kB").arg(growth);

    Line(QStringLiteral("open fds: %1 at start, %2 at end (target equal)")
             .arg(f.fdsStart)
             .arg(f.fdsEnd));
    if (f.fdsEnd != f.fdsStart)
        missed
            << QStringLiteral("open descriptors went from %1 to %2").arg(f.fdsStart).arg(f.fdsEnd);

    const double percent = f.idleSeconds > 0 ? 100.0 * f.idleCpuSeconds / f.idleSeconds : 0;
    Line(QStringLiteral("idle cpu: %1 s in %2 s (%3 %; target below %4 %)")
             .arg(f.idleCpuSeconds, 0, 'f', 2)
             .arg(f.idleSeconds)
             .arg(percent, 0, 'f', 2)
             .arg(kIdleCpuLimitPercent, 0, 'f', 0));
    if (percent >= kIdleCpuLimitPercent)
        missed << QStringLiteral("%1 % CPU while idle").arg(percent, 0, 'f', 2);

    Line(missed.isEmpty() ? QStringLiteral("result: every target met")
                          : QStringLiteral("result: FAILED: ") + missed.join(QStringLiteral("; ")));
    std::fflush(stdout);
    return missed;
}

}  // namespace qireq::soak
