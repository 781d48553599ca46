#pragma once
// A pseudo-terminal standing in for one serial port the prober may probe.
// The test keeps only the master side: the slave is open exactly while the
// program holds the port open, which the master sees (no hang-up), so a
// test can tell whether the port was ever opened. Optionally it answers
// every Ping like a unit, at once or after a delay.
//
// Serviced from the test's thread by Service(), which the waiting loops
// call between rounds of the event loop.
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <vector>

namespace qireq::test {

class ProbedPty {
public:
    ProbedPty();
    ~ProbedPty();
    ProbedPty(const ProbedPty&) = delete;
    ProbedPty& operator=(const ProbedPty&) = delete;

    bool IsValid() const { return master_ >= 0; }
    QString Path() const { return path_; }

    // Answer each Ping with the ping answer after delayMs (0: at once).
    void AnswerPings(int delayMs = 0);

    // Reads what the program sent, notes each Ping (with the order number
    // taken from sequence), sends answers that are due, and records whether
    // the slave is open now.
    void Service(int& sequence);

    bool SlaveOpenNow() const { return slaveOpen_; }
    bool EverOpened() const { return everOpened_; }
    const QByteArray& Received() const { return received_; }
    // Order numbers of the Pings received, in arrival order.
    const std::vector<int>& PingOrder() const { return pingOrder_; }
    int PingCount() const { return static_cast<int>(pingOrder_.size()); }

    // The port goes away: the master is closed and the device node vanishes.
    void Remove();

private:
    int master_ = -1;
    QString path_;
    QByteArray received_;
    qsizetype scanned_ = 0;
    std::vector<int> pingOrder_;
    bool answers_ = false;
    int answerDelayMs_ = 0;
    std::vector<qint64> answersDue_;
    QElapsedTimer clock_;
    bool slaveOpen_ = false;
    bool everOpened_ = false;
};

}  // namespace qireq::test
