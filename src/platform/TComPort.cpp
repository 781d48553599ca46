#include "platform/TComPort.h"

#include "platform/PlatformErrors.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

namespace qireq {

namespace {

// Bytes a write already handed over leave before the device is closed.
constexpr int kCloseDrainMs = 100;
// How often a worker waiting for its write looks whether the bytes left: a
// 9-byte Ping takes about 9 ms at 9600 baud.
constexpr int kWritePollMs = 2;
constexpr int kErrorInvalidParameter = 87;

int ClampToInt(qint64 value)
{
    return static_cast<int>(std::min<qint64>(value, INT_MAX));
}

}  // namespace

QString ComExceptionText(TComExceptions kind)
{
    switch (kind) {
    case TComExceptions::OpenFailed: return QStringLiteral("Unable to open com port");
    case TComExceptions::SetStateFailed: return QStringLiteral("Unable to apply the port settings");
    case TComExceptions::PurgeFailed: return QStringLiteral("Unable to clear the port queues");
    case TComExceptions::WriteFailed: return QStringLiteral("Writing to the port failed");
    case TComExceptions::ReadFailed: return QStringLiteral("Reading from the port failed");
    case TComExceptions::WaitFailed: return QStringLiteral("Watching the port failed");
    case TComExceptions::PortNotOpen: return QStringLiteral("Port not open");
    }
    return QStringLiteral("Serial port failure");
}

EComPort::EComPort(TComExceptions kind, int systemError, const QString& systemText)
    : std::runtime_error(
          (ComExceptionText(kind) + QStringLiteral(": ") + systemText + QStringLiteral(" (")
              + QString::number(systemError) + QLatin1Char(')'))
              .toStdString()),
      kind_(kind), systemError_(systemError), systemText_(systemText)
{
}

// Marks an operation in progress: errors the port signals meanwhile belong
// to it, and bytes arriving meanwhile are announced only after it, from the
// event loop, so OnRxChar never runs inside a caller's operation.
class TComPort::OperationScope {
public:
    explicit OperationScope(TComPort& port) : port_(port) { ++port_.busy_; }
    ~OperationScope() { port_.EndOperation(); }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

private:
    TComPort& port_;
};

TComPort::TComPort(TComFailures failures, QObject* parent)
    : QObject(parent), failures_(failures), port_(this)
{
    connect(&port_, &QSerialPort::readyRead, this, &TComPort::NoteBytesArrived);
    connect(&port_, &QSerialPort::errorOccurred, this, &TComPort::NoteError);
}

TComPort::~TComPort()
{
    if (port_.isOpen())
        CloseDevice();
}

void TComPort::SetPort(const QString& name)
{
    calls_.Run([&] { SetPortHere(name); });
}

QString TComPort::Port() const
{
    return calls_.Run([this] { return name_; });
}

bool TComPort::Connected() const
{
    return calls_.Run([this] { return connected_; });
}

void TComPort::Open()
{
    calls_.Run([this] { OpenHere(); });
}

void TComPort::Close()
{
    calls_.Run([this] { CloseHere(); });
}

int TComPort::Write(const char* data, int count)
{
    if (calls_.OnOwnerThread())
        return WriteHere(data, count);
    return WriteFromOtherThread(data, count);
}

int TComPort::WriteFromOtherThread(const char* data, int count)
{
    const int queued = calls_.Run([&] {
        const int handedOver = BeginWriteHere(data, count);
        writeWaiting_ = handedOver > 0;
        return handedOver;
    });
    if (queued <= 0)
        return queued;
    // The port's thread goes on with its events (and sends the bytes)
    // while this thread looks now and then whether they have left.
    QDeadlineTimer deadline(WriteTimeoutMs(count));
    while (calls_.Run([this] { return UnsentHere(); }) > 0 && !deadline.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(kWritePollMs));
    return calls_.Run([&] { return EndWriteHere(count); });
}

int TComPort::Read(char* buffer, int count)
{
    return calls_.Run([&] { return ReadHere(buffer, count); });
}

void TComPort::SetPortHere(const QString& name)
{
    if (name == name_)
        return;
    const bool reopen = connected_;
    if (port_.isOpen()) {
        OperationScope operation(*this);
        CloseDevice();
    }
    name_ = name;
    if (reopen)
        OpenHere();
}

void TComPort::ApplyLineSettings()
{
    // Stored now, applied by QSerialPort as it opens the device.
    port_.setBaudRate(kBaudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
}

void TComPort::OpenHere()
{
    if (connected_)
        return;
    OperationScope operation(*this);
    if (port_.isOpen())
        CloseDevice();  // a lost device not yet closed
    port_.setPortName(name_);
    ApplyLineSettings();
    port_.clearError();
    if (!port_.open(QIODevice::ReadWrite)) {
        FailFromPort(port_.error() == QSerialPort::UnsupportedOperationError
                ? TComExceptions::SetStateFailed
                : TComExceptions::OpenFailed);
        return;
    }
    ++openCount_;
    // Virtual ports often have no modem lines at all; a line that does not
    // exist is as good as held off, so a refusal here is not a failure.
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(false);
    port_.clearError();
    // Bytes that were waiting before the open belong to nobody.
    if (!port_.clear(QSerialPort::AllDirections)) {
        const QSerialPort::SerialPortError error = port_.error();
        const QString text = port_.errorString();
        CloseDevice();
        Fail(TComExceptions::PurgeFailed, SerialErrorNumber(error), text);
        return;
    }
    connected_ = true;
}

void TComPort::CloseHere()
{
    if (!port_.isOpen()) {
        connected_ = false;
        return;
    }
    OperationScope operation(*this);
    CloseDevice();
}

void TComPort::CloseDevice()
{
    if (connected_ && port_.bytesToWrite() > 0)
        port_.waitForBytesWritten(kCloseDrainMs);
    port_.clear(QSerialPort::Input);
    port_.close();
    port_.clearError();
    connected_ = false;
    rxPending_ = false;
    ++openCount_;
}

int TComPort::WriteHere(const char* data, int count)
{
    const int queued = BeginWriteHere(data, count);
    if (queued <= 0)
        return queued;
    OperationScope operation(*this);
    QDeadlineTimer deadline(WriteTimeoutMs(count));
    while (port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (port_.waitForBytesWritten(ClampToInt(deadline.remainingTime())))
            continue;
        if (port_.error() == QSerialPort::TimeoutError)
            break;  // the line is stalled: give up at the deadline
        const QSerialPort::SerialPortError error = port_.error();
        const QString text = port_.errorString();
        if (port_.isOpen())
            port_.clear(QSerialPort::Output);
        Fail(TComExceptions::WriteFailed, SerialErrorNumber(error), text);
        return -1;
    }
    return EndWriteHere(count);
}

int TComPort::BeginWriteHere(const char* data, int count)
{
    OperationScope operation(*this);
    if (!connected_) {
        Fail(TComExceptions::PortNotOpen, 0, QStringLiteral("The port is not open"));
        return -1;
    }
    if (count < 0 || (count > 0 && data == nullptr)) {
        Fail(TComExceptions::WriteFailed, kErrorInvalidParameter,
            QStringLiteral("The parameter is incorrect"));
        return -1;
    }
    if (count == 0)
        return 0;

    port_.clearError();
    writeFailure_.reset();
    if (port_.write(data, count) != count) {
        port_.clear(QSerialPort::Output);
        FailFromPort(TComExceptions::WriteFailed);
        return -1;
    }
    return count;
}

qint64 TComPort::UnsentHere() const
{
    if (writeFailure_ || !connected_)
        return -1;
    return port_.bytesToWrite();
}

int TComPort::EndWriteHere(int count)
{
    OperationScope operation(*this);
    writeWaiting_ = false;
    if (writeFailure_ || !connected_) {
        const auto [error, text] = writeFailure_.value_or(
            std::make_pair(QSerialPort::NotOpenError, QStringLiteral("The port was closed")));
        writeFailure_.reset();
        if (port_.isOpen())
            port_.clear(QSerialPort::Output);
        Fail(TComExceptions::WriteFailed, SerialErrorNumber(error), text);
        return -1;
    }
    const qint64 unsent = port_.bytesToWrite();
    if (unsent > 0)
        port_.clear(QSerialPort::Output);  // a late frame would arrive out of order
    port_.clearError();
    return ClampToInt(count - unsent);
}

int TComPort::ReadHere(char* buffer, int count)
{
    OperationScope operation(*this);
    // A closed port has nothing queued. Not a failure: a receive handler
    // may still be reading a port that was closed a moment ago.
    if (!connected_ || count <= 0 || buffer == nullptr)
        return 0;
    const qint64 taken = port_.read(buffer, count);
    if (taken < 0) {
        FailFromPort(TComExceptions::ReadFailed);
        return -1;
    }
    return ClampToInt(taken);
}

void TComPort::Fail(TComExceptions kind, int systemError, const QString& systemText)
{
    if (failures_ == TComFailures::Throw)
        throw EComPort(kind, systemError, systemText);
    emit OnException(this, kind, ComExceptionText(kind), systemError, systemText);
}

void TComPort::FailFromPort(TComExceptions kind)
{
    const QSerialPort::SerialPortError error = port_.error();
    const QString text = port_.errorString();
    port_.clearError();
    Fail(kind, SerialErrorNumber(error), text);
}

void TComPort::NoteBytesArrived()
{
    rxPending_ = true;
    PostDelivery();
}

// Announcements are made from the event loop, outside QSerialPort's own
// signal: bytes that arrive while a handler runs (say, inside its own Write)
// are then noticed and announced once it has returned.
void TComPort::PostDelivery()
{
    if (deliveryPosted_)
        return;
    deliveryPosted_ = true;
    QMetaObject::invokeMethod(this, [this] {
        deliveryPosted_ = false;
        if (busy_ == 0 && !inRxHandler_)
            DeliverRxChar();
    }, Qt::QueuedConnection);
}

void TComPort::DeliverRxChar()
{
    if (!connected_ || !rxPending_)
        return;
    rxPending_ = false;
    const qint64 queued = port_.bytesAvailable();
    if (queued <= 0)
        return;
    {
        inRxHandler_ = true;
        struct HandlerDone {
            bool& flag;
            ~HandlerDone() { flag = false; }
        } done{inRxHandler_};
        emit OnRxChar(this, ClampToInt(queued));
    }
    // Bytes that came in while the handler ran: announced on the next pass
    // of the event loop, so a chatty unit cannot starve everything else.
    if (rxPending_)
        PostDelivery();
}

void TComPort::EndOperation()
{
    if (--busy_ == 0 && rxPending_ && !inRxHandler_)
        PostDelivery();
}

void TComPort::NoteError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
        return;  // signalled on every open
    case QSerialPort::WriteError:
        // Belongs to a worker's write in progress, which reports it as it
        // ends; otherwise to the operation that caused it.
        if (writeWaiting_ && !writeFailure_)
            writeFailure_.emplace(error, port_.errorString());
        return;
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
        if (writeWaiting_ && !writeFailure_)
            writeFailure_.emplace(error, port_.errorString());
        LoseDevice(error);
        return;
    default:
        // Failures of an operation are reported by that operation; the port
        // starts no transfer of its own.
        return;
    }
}

void TComPort::LoseDevice(QSerialPort::SerialPortError error)
{
    // The device is gone (unplugged, or the other side of a pseudo-terminal
    // closed). QSerialPort keeps signalling the read error for as long as
    // the port stays open, so the first one closes it and is reported once.
    // Both happen from the event loop: never inside QSerialPort's own
    // notification, and never inside another operation of this port.
    if (!connected_)
        return;
    connected_ = false;
    const unsigned lostOpen = openCount_;
    const int systemError = SerialErrorNumber(error);
    const QString text = port_.errorString();
    const TComExceptions kind = error == QSerialPort::ResourceError
        ? TComExceptions::WaitFailed
        : TComExceptions::ReadFailed;
    QMetaObject::invokeMethod(this, [this, lostOpen, kind, systemError, text] {
        if (lostOpen == openCount_ && port_.isOpen()) {
            OperationScope operation(*this);
            CloseDevice();
        }
        // Nobody called anything that could take a thrown error: a port
        // that throws just closes.
        if (failures_ == TComFailures::Report)
            emit OnException(this, kind, ComExceptionText(kind), systemError, text);
    }, Qt::QueuedConnection);
}

}  // namespace qireq
