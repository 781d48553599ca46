#include "support/SimProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>

namespace qireq::sim::test {

QString SimProgramPath()
{
    return QStringLiteral(QIREQ_BINARY_DIR "/tools/qireq-sim/qireq-sim");
}

SimProcess::~SimProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

bool SimProcess::Start(const QStringList& arguments, const QString& program)
{
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(program, arguments);
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("cannot start %1: %2").arg(program, process_.errorString());
        return false;
    }
    if (!WaitForExactLine(QStringLiteral("READY"))) {
        error_ = QStringLiteral("no READY line; stderr: ")
            + QString::fromLocal8Bit(process_.readAllStandardError());
        return false;
    }
    return true;
}

void SimProcess::Collect()
{
    partial_ += process_.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = partial_.indexOf('\n')) >= 0) {
        lines_.push_back(QString::fromUtf8(partial_.left(end)));
        partial_.remove(0, end + 1);
    }
}

const std::vector<QString>& SimProcess::Lines()
{
    Collect();
    return lines_;
}

QString SimProcess::WaitForLine(const QString& prefix, int timeoutMs)
{
    QString found;
    WaitFor(
        [&] {
            for (const QString& line : Lines()) {
                if (line.startsWith(prefix)) {
                    found = line.mid(prefix.size());
                    return true;
                }
            }
            return process_.state() == QProcess::NotRunning;
        },
        timeoutMs);
    return found;
}

bool SimProcess::WaitForExactLine(const QString& wanted, int timeoutMs)
{
    const auto seen = [&] {
        Collect();
        return std::find(lines_.begin(), lines_.end(), wanted) != lines_.end();
    };
    WaitFor([&] { return seen() || process_.state() == QProcess::NotRunning; }, timeoutMs);
    return seen();
}

int SimProcess::CountLines(const QString& prefix)
{
    const auto& all = Lines();
    return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const QString& l) { return l.startsWith(prefix); }));
}

int SimProcess::Terminate(int timeoutMs)
{
    if (process_.state() == QProcess::NotRunning)
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    process_.terminate();  // SIGTERM to this process's pid
    if (!process_.waitForFinished(timeoutMs))
        return -1;
    Collect();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

}  // namespace qireq::sim::test
