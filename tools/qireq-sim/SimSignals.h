#pragma once
// Ends the event loop cleanly on SIGINT and SIGTERM. The handler only writes
// a byte into a pipe; the loop reads it and quits, so no Qt code ever runs
// inside a signal handler.
#include <QObject>

class QSocketNotifier;

namespace qireq::sim {

class SimSignals : public QObject {
    Q_OBJECT
public:
    explicit SimSignals(QObject* parent = nullptr);
    ~SimSignals() override;

    // Installs the handlers; false (with errno set) when the pipe cannot be made.
    bool Install();

signals:
    void Stop(int signalNumber);

private:
    void Drain();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qireq::sim
