#include "fleet/UnitSession.h"

#include "platform/PlatformErrors.h"
#include "platform/SerialPortAccess.h"
#include "platform/TClientSocket.h"
#include "platform/TComPort.h"
#include "protocol/ConnectGreeting.h"
#include "protocol/SerialLink.h"
#include "protocol/SocketLink.h"

#include <QEventLoop>
#include <QTimer>

namespace qireq::fleet {

QString SerialOpenMessage(const QString& port, int systemError, const QString& systemText)
{
    if (systemError == kErrorAccessDenied) {
        if (const auto group = SerialPortGroupNeeded(port)) {
            if (group->isEmpty())
                return QStringLiteral("permission denied: %1").arg(port);
            return QStringLiteral("permission denied: %1; join the %2 group").arg(port, *group);
        }
        return QStringLiteral("port busy: %1 is held by another program").arg(port);
    }
    if (systemError == kErrorFileNotFound)
        return QStringLiteral("no such serial port: %1").arg(port);
    return QStringLiteral("cannot open %1: %2").arg(port, systemText);
}

QString TcpFailureMessage(const QString& label, int systemError)
{
    switch (systemError) {
    case kErrorConnectionRefused: return QStringLiteral("connection refused: %1 takes no TCP connection").arg(label);
    case kErrorHostNotFound: return QStringLiteral("unknown host: %1").arg(label);
    case kErrorNetworkUnreachable: return QStringLiteral("network unreachable: %1").arg(label);
    case kErrorTimedOut: return QStringLiteral("no connection to %1: timed out").arg(label);
    default: return QStringLiteral("no connection to %1 (socket error %2)").arg(label).arg(systemError);
    }
}

UnitSession::UnitSession(UnitTarget target, int timeoutMs)
    : target_(std::move(target)), timeoutMs_(timeoutMs)
{
    assembler_.SetFrameHandler([this](const QByteArray& frame) { OnFrame(frame); });
}

UnitSession::~UnitSession()
{
    if (link_)
        link_->Close();
    link_.reset();
}

QString UnitSession::Seconds() const
{
    return QStringLiteral("%1 s").arg(timeoutMs_ / 1000.0, 0, 'f', 1);
}

bool UnitSession::Connect()
{
    return OpenOnly() && Identify();
}

bool UnitSession::OpenOnly()
{
    return target_.IsSerial() ? OpenSerial() : OpenTcp();
}

bool UnitSession::Identify()
{
    // The window's greeting. Only Identify's reply is waited for; the MAC
    // reply is picked up whenever it comes (OnFrame).
    const auto link = target_.IsSerial() ? RxOrigin::Kind::SerialPort : RxOrigin::Kind::Socket;
    bool askedMac = false;
    for (const Command request : ConnectGreeting(link)) {
        if (request != Command::Identify) {
            link_->WriteBytes(GreetingBytes(request));
            askedMac = askedMac || request == Command::ReadMac;
            continue;
        }
        const auto reply = Request(GreetingBytes(request), Command::Identify, QStringLiteral("Identify"));
        if (!reply)
            return false;
        identity_ = ReadIdentity(*reply);
    }
    if (askedMac)
        WaitFor([this] { return mac_.has_value(); }, 0);
    return true;
}

bool UnitSession::OpenSerial()
{
    port_ = std::make_unique<TComPort>(TComFailures::Report);
    QObject::connect(port_.get(), &TComPort::OnRxChar, port_.get(), [this](TComPort*, int) { ReadAvailable(); });
    QObject::connect(port_.get(), &TComPort::OnException, port_.get(),
                     [this](TComPort*, TComExceptions kind, const QString&, int systemError, const QString& text) {
                         if (kind == TComExceptions::ReadFailed || kind == TComExceptions::WaitFailed)
                             lost_ = true;
                         serialError_ = systemError;
                         serialErrorText_ = text;
                         if (wake_)
                             wake_();
                     });
    link_ = std::make_unique<SerialLink>(*port_);
    link_->SetAddress(target_.Address);
    link_->Open();
    if (!link_->IsOpen()) {
        error_ = SerialOpenMessage(target_.Address, serialError_, serialErrorText_);
        return false;
    }
    return true;
}

bool UnitSession::OpenTcp()
{
    socket_ = std::make_unique<TClientSocket>();
    TClientSocket* s = socket_.get();
    QObject::connect(s, &TClientSocket::OnConnect, s, [this](TClientSocket*) {
        tcpConnected_ = true;
        if (wake_)
            wake_();
    });
    QObject::connect(s, &TClientSocket::OnError, s, [this](TClientSocket*, TErrorEvent, int& code) {
        tcpError_ = code;
        code = 0;  // reported here, not raised
        if (wake_)
            wake_();
    });
    QObject::connect(s, &TClientSocket::OnDisconnect, s, [this](TClientSocket*) {
        lost_ = true;
        if (wake_)
            wake_();
    });
    QObject::connect(s, &TClientSocket::OnRead, s, [this](TClientSocket*) { ReadAvailable(); });
    link_ = std::make_unique<SocketLink>(*s);
    try {
        link_->SetAddress(target_.Label());
        link_->Open();
    } catch (const std::exception& e) {
        error_ = QStringLiteral("no connection to %1: %2").arg(target_.Label(), QString::fromLocal8Bit(e.what()));
        return false;
    }
    WaitFor([this] { return tcpConnected_ || tcpError_ != 0; }, timeoutMs_);
    if (tcpConnected_)
        return true;
    error_ = tcpError_ != 0 ? TcpFailureMessage(target_.Label(), tcpError_)
                            : QStringLiteral("no connection to %1 within %2").arg(target_.Label(), Seconds());
    link_->Close();
    return false;
}

void UnitSession::ReadAvailable()
{
    if (!link_)
        return;
    char buffer[1024];
    for (;;) {
        const int n = link_->Read(buffer, static_cast<int>(sizeof buffer));
        if (n <= 0)
            break;
        assembler_.Feed(buffer, n);
    }
    if (wake_)
        wake_();
}

void UnitSession::OnFrame(const QByteArray& frame)
{
    const auto code = ReplyCode(frame);
    if (code && *code == static_cast<std::uint8_t>(Command::ReadMac)) {
        if (auto mac = ReadMacReply(frame))
            mac_ = *mac;
    }
    frames_.push_back(frame);
}

bool UnitSession::WaitFor(const std::function<bool()>& done, int ms)
{
    // Bytes may already wait in the component (read during a write's pause).
    ReadAvailable();
    if (done() || ms <= 0)
        return done();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    wake_ = [&] {
        if (done() || lost_)
            loop.quit();
    };
    timer.start(ms);
    if (!lost_)
        loop.exec();
    wake_ = nullptr;
    ReadAvailable();
    return done();
}

std::optional<QByteArray> UnitSession::TakeFrame(std::uint8_t code)
{
    while (!frames_.empty()) {
        QByteArray frame = frames_.front();
        frames_.pop_front();
        const auto c = ReplyCode(frame);
        if (c && *c == code)
            return frame;
    }
    return std::nullopt;
}

std::optional<QByteArray> UnitSession::Request(const QByteArray& frame, Command reply, const QString& what)
{
    if (!Send(frame))
        return std::nullopt;
    const auto code = static_cast<std::uint8_t>(reply);
    std::optional<QByteArray> found;
    WaitFor([&] {
        if (!found)
            found = TakeFrame(code);
        return found.has_value();
    }, timeoutMs_);
    if (!found) {
        error_ = lost_ ? QStringLiteral("the unit went away (%1 closed) while waiting for the answer to %2")
                             .arg(target_.Label(), what)
                       : QStringLiteral("no answer to %1 within %2").arg(what, Seconds());
    }
    return found;
}

bool UnitSession::Send(const QByteArray& frame)
{
    if (!link_ || !link_->IsOpen() || lost_) {
        error_ = QStringLiteral("%1 is closed").arg(target_.Label());
        return false;
    }
    frames_.clear();  // the host does not pair replies: only what comes after counts
    if (link_->WriteBytes(frame) < 0) {
        error_ = QStringLiteral("writing to %1 failed").arg(target_.Label());
        return false;
    }
    return true;
}

std::optional<EqBlock> UnitSession::ReadBlock(const QString& why)
{
    const auto reply = Request(ReadEqBlockRequest(), kEqBlockReply, why);
    if (!reply)
        return std::nullopt;
    auto block = ReadEqBlockReply(*reply);
    if (!block)
        error_ = QStringLiteral("the unit's EQ block was %1 bytes, not 74").arg(reply->size());
    return block;
}

}  // namespace qireq::fleet
