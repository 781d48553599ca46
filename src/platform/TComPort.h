#pragma once
// The serial port component: one named port at 9600 baud, 8 data bits, no
// parity, 1 stop bit, no flow control, DTR and RTS held off, every received
// byte kept (0x00 and the XON/XOFF characters included).
//
// Threads: the port lives on the thread that created it (the GUI thread),
// and its notifications are raised there. The operations may be called from
// any one other thread at a time (the serial prober drives the probing port
// from its own thread): such a call is carried out on the port's thread while the
// caller waits for it. A call from a worker needs the GUI thread's event loop
// to be running. A Write from a worker hands the bytes over and then waits
// for them to leave on the worker itself, so a stalled line holds up the
// prober, never the window.
//
// Failures: how a port reports them is chosen where it is made (see
// TComFailures): thrown to the caller of the operation, or reported to
// OnException while the operation returns normally.
#include "platform/OwnerThreadCalls.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

#include <optional>
#include <stdexcept>
#include <utility>

namespace qireq {

// The kinds of failure a port reports.
enum class TComExceptions {
    OpenFailed,      // the device could not be opened
    SetStateFailed,  // the line settings could not be applied
    PurgeFailed,     // the queues could not be cleared
    WriteFailed,
    ReadFailed,
    WaitFailed,      // watching the device for events failed (device gone)
    PortNotOpen,     // a transfer was asked of a closed port
};

// How a port reports a failure.
enum class TComFailures {
    // EComPort is thrown to the caller of the failing operation. A device
    // lost while nobody is calling just closes the port.
    Throw,
    // OnException is raised and the operation returns normally (Write and
    // Read then return -1); a device lost is reported there too.
    Report,
};

// The component's own text for a kind of failure.
QString ComExceptionText(TComExceptions kind);

class EComPort : public std::runtime_error {
public:
    EComPort(TComExceptions kind, int systemError, const QString& systemText);

    TComExceptions Kind() const { return kind_; }
    int SystemError() const { return systemError_; }
    const QString& SystemText() const { return systemText_; }

private:
    TComExceptions kind_;
    int systemError_;
    QString systemText_;
};

class TComPort : public QObject {
    Q_OBJECT
public:
    explicit TComPort(TComFailures failures, QObject* parent = nullptr);
    ~TComPort() override;

    TComFailures Failures() const { return failures_; }

    // The device name ("COM5", "ttyUSB0" or a full path). Setting the name
    // it already has does nothing; setting another name while the port is
    // open closes it and opens it again under the new name.
    void SetPort(const QString& name);
    QString Port() const;

    // True from a successful Open until Close, or until the device is lost.
    bool Connected() const;

    // Both do nothing when the port is already in the state asked for.
    void Open();
    void Close();

    // Sends the bytes and returns when all have left or 1000 ms + 100 ms per
    // byte have passed; bytes still unsent then are dropped, never sent late.
    // Returns the number sent, or -1 after a reported failure.
    int Write(const char* data, int count);
    // Takes up to count queued bytes at once; 0 when none are queued or the
    // port is closed. Returns -1 after a reported failure.
    int Read(char* buffer, int count);

    static constexpr int kBaudRate = 9600;
    static int WriteTimeoutMs(int count) { return 1000 + 100 * count; }

signals:
    // Bytes have arrived: count is the number queued now (never 0). The
    // handler is expected to Read them; bytes it leaves are counted again
    // with the next arrival. One call at a time, never from inside another
    // operation of this port.
    void OnRxChar(qireq::TComPort* sender, int count);
    void OnException(qireq::TComPort* sender, qireq::TComExceptions kind,
        const QString& portMessage, int systemError, const QString& systemMessage);

private:
    class OperationScope;

    void SetPortHere(const QString& name);
    void OpenHere();
    void CloseHere();
    int WriteHere(const char* data, int count);
    int WriteFromOtherThread(const char* data, int count);
    // The steps of a write: hand the bytes to the device (the count queued,
    // or -1 after a reported failure); the bytes not yet sent (-1 once the
    // write failed or the port closed); the end, which drops what is still
    // unsent and returns the number sent.
    int BeginWriteHere(const char* data, int count);
    qint64 UnsentHere() const;
    int EndWriteHere(int count);
    int ReadHere(char* buffer, int count);

    void ApplyLineSettings();
    void CloseDevice();
    // A failure of the operation in progress: to the handler, or thrown.
    void Fail(TComExceptions kind, int systemError, const QString& systemText);
    void FailFromPort(TComExceptions kind);

    void NoteBytesArrived();
    void PostDelivery();
    void DeliverRxChar();
    void NoteError(QSerialPort::SerialPortError error);
    void LoseDevice(QSerialPort::SerialPortError error);
    void EndOperation();

    const TComFailures failures_;
    QSerialPort port_;
    mutable OwnerThreadCalls calls_;
    QString name_ = QStringLiteral("COM1");
    bool connected_ = false;
    unsigned openCount_ = 0;  // tells a late close of a lost device from a new open
    int busy_ = 0;            // depth of operations in progress
    bool inRxHandler_ = false;
    bool rxPending_ = false;  // bytes arrived that are not announced yet
    bool deliveryPosted_ = false;
    // A worker's write in progress, and the device's failure during it.
    bool writeWaiting_ = false;
    std::optional<std::pair<QSerialPort::SerialPortError, QString>> writeFailure_;
};

}  // namespace qireq
