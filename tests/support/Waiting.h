#pragma once
// Waiting in tests with the event loop running, so timers, sockets, ports
// and queued calls go on meanwhile.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace qireq::test {

// Runs the event loop until the condition holds or timeoutMs passed; the
// result says whether it holds.
template <class Condition>
bool WaitFor(Condition condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

}  // namespace qireq::test
