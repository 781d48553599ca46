#pragma once
// Runs the built qireq-sim program for a test and reads its log lines.
// Only the process started here is ever signalled, by its own pid.
#include <QProcess>
#include <QString>
#include <QStringList>

#include "support/Waiting.h"

#include <functional>
#include <vector>

namespace qireq::sim::test {

QString SimProgramPath();

using qireq::test::WaitFor;

class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts `program arguments...` (the simulator, or a wrapper that execs
    // it such as `ip netns exec`) and waits for its READY line. False, with
    // the reason in Error(), when it does not come up.
    bool Start(const QStringList& arguments, const QString& program = SimProgramPath());

    // The text after `prefix` on the first log line starting with it, or an
    // empty string after the timeout.
    QString WaitForLine(const QString& prefix, int timeoutMs = 5000);
    // Whether some line equals `line` exactly (after waiting up to timeoutMs).
    bool WaitForExactLine(const QString& line, int timeoutMs = 5000);
    int CountLines(const QString& prefix);

    // SIGTERM to the started process; waits for it and returns its exit code
    // (-1 when it crashed or did not end).
    int Terminate(int timeoutMs = 5000);

    const std::vector<QString>& Lines();
    QString Error() const { return error_; }
    qint64 Pid() const { return process_.processId(); }

private:
    void Collect();

    QProcess process_;
    QByteArray partial_;
    std::vector<QString> lines_;
    QString error_;
};

}  // namespace qireq::sim::test
