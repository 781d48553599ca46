#pragma once
// A pseudo-terminal pair for serial tests: the program opens the slave by
// its path, the test plays the unit on the master (raw mode).
#include <QByteArray>
#include <QString>

#include "support/Waiting.h"

namespace qireq::test {

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool IsValid() const { return master_ >= 0; }
    // The slave's device path, for TComPort::SetPort.
    QString SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }
    // The test's own descriptor of the slave: the terminal settings the
    // program applies are read back through it.
    int SlaveFd() const { return slave_; }

    // What the unit sends.
    void Send(const QByteArray& bytes);
    // What the program sent: waits (running the event loop) until count
    // bytes have arrived or timeoutMs passed; returns what arrived.
    QByteArray Receive(int count, int timeoutMs = 2000);
    // Everything that arrives within the time given.
    QByteArray ReceiveFor(int ms);

    // The unit goes away: both test descriptors are closed.
    void CloseMaster();
    void CloseSlave();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

}  // namespace qireq::test
