#pragma once
// The unit's serial side: a pseudo-terminal it creates (the control program
// opens its slave path as a serial port) or a tty it is given.
#include "SimDevice.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QSerialPort;
class QSocketNotifier;

namespace qireq::sim {

class SimResponder;

class SimPty : public QObject {
    Q_OBJECT
public:
    SimPty(SimDevice& device, QObject* parent = nullptr);
    ~SimPty() override;

    // Creates the pseudo-terminal in raw mode and logs "PTY <path>"; returns
    // an error text, empty on success.
    QString Open();
    QString SlavePath() const { return slavePath_; }

private:
    void ReadMaster();
    void Write(const QByteArray& bytes);
    void FlushPending();

    SimDevice& device_;
    SimResponder* responder_ = nullptr;
    int master_ = -1;
    // Held open for the whole run: while some descriptor of the slave is
    // open, the master does not report a hang-up each time the control
    // program closes its port.
    int slave_ = -1;
    QString slavePath_;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    QByteArray pending_;  // what the slave side has not taken yet
};

class SimTty : public QObject {
    Q_OBJECT
public:
    static constexpr int kReopenMs = 500;

    SimTty(SimDevice& device, QObject* parent = nullptr);

    // Opens the port at 9600 8N1 without flow control and logs "TTY <path>".
    // When the port vanishes it is closed ("TTY closed: ...") and opened
    // again as soon as PATH is back ("TTY reopened <path>"), as a unit
    // serves its line again once it is plugged back in.
    QString Open(const QString& path);

private:
    void Failed();
    void TryReopen();
    // A fresh stream: nothing half received or still queued from before.
    void NewResponder();

    SimDevice& device_;
    QString path_;
    QSerialPort* port_ = nullptr;
    SimResponder* responder_ = nullptr;
    QTimer* reopenTimer_ = nullptr;
};

}  // namespace qireq::sim
