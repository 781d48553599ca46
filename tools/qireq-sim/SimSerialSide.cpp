#include "SimSerialSide.h"

#include "SimResponder.h"

#include <QSerialPort>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace qireq::sim {
namespace {

QString ErrnoText(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool MakeRaw(int fd)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

SimPty::SimPty(SimDevice& device, QObject* parent) : QObject(parent), device_(device) {}

SimPty::~SimPty()
{
    delete readNotifier_;
    delete writeNotifier_;
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

QString SimPty::Open()
{
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        return ErrnoText("openpty");
    slavePath_ = QString::fromLocal8Bit(name);
    if (!MakeRaw(slave_) || !MakeRaw(master_))
        return ErrnoText("raw mode on the pseudo-terminal");
    // A slave side that stops reading must not block the whole unit.
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
        return ErrnoText("non-blocking pseudo-terminal");
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);

    responder_ = new SimResponder(device_, [this](const QByteArray& bytes) { Write(bytes); }, nullptr, this);
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read);
    connect(readNotifier_, &QSocketNotifier::activated, this, &SimPty::ReadMaster);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &SimPty::FlushPending);
    device_.Log().Line(QStringLiteral("PTY ") + slavePath_);
    return {};
}

void SimPty::ReadMaster()
{
    char buffer[1024];
    for (;;) {
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got > 0) {
            responder_->Receive(buffer, static_cast<qsizetype>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        // EAGAIN: all read. EIO only happens with no slave open, which the
        // held slave descriptor rules out; stop listening rather than spin.
        if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            device_.Log().Line(QStringLiteral("PTY closed: ") + ErrnoText("read"));
            readNotifier_->setEnabled(false);
        }
        return;
    }
}

void SimPty::Write(const QByteArray& bytes)
{
    pending_.append(bytes);
    FlushPending();
}

void SimPty::FlushPending()
{
    while (!pending_.isEmpty()) {
        const ssize_t put = ::write(master_, pending_.constData(), static_cast<std::size_t>(pending_.size()));
        if (put > 0) {
            pending_.remove(0, static_cast<qsizetype>(put));
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            writeNotifier_->setEnabled(true);
            return;
        }
        device_.Log().Line(QStringLiteral("PTY write failed: ") + ErrnoText("write"));
        pending_.clear();
    }
    writeNotifier_->setEnabled(false);
}

SimTty::SimTty(SimDevice& device, QObject* parent) : QObject(parent), device_(device) {}

QString SimTty::Open(const QString& path)
{
    path_ = path;
    port_ = new QSerialPort(this);
    port_->setPortName(path);
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!port_->open(QIODevice::ReadWrite))
        return QStringLiteral("cannot open %1: %2").arg(path, port_->errorString());
    port_->clear();

    NewResponder();
    connect(port_, &QSerialPort::readyRead, this, [this] { responder_->Receive(port_->readAll()); });
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // A vanished peer makes the port report read errors without end:
        // close on the first one.
        if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
            Failed();
    });
    reopenTimer_ = new QTimer(this);
    reopenTimer_->setInterval(kReopenMs);
    connect(reopenTimer_, &QTimer::timeout, this, &SimTty::TryReopen);
    device_.Log().Line(QStringLiteral("TTY ") + path);
    return {};
}

void SimTty::NewResponder()
{
    delete responder_;
    // Replies still queued for a port that went away are not written anywhere.
    responder_ = new SimResponder(
        device_,
        [this](const QByteArray& bytes) {
            if (port_->isOpen())
                port_->write(bytes);
        },
        nullptr, this);
}

void SimTty::Failed()
{
    if (!port_->isOpen())
        return;
    device_.Log().Line(QStringLiteral("TTY closed: ") + port_->errorString());
    port_->close();
    reopenTimer_->start();
}

void SimTty::TryReopen()
{
    // Quietly again and again while the path is missing.
    if (!port_->open(QIODevice::ReadWrite))
        return;
    reopenTimer_->stop();
    port_->clear();
    NewResponder();
    device_.Log().Line(QStringLiteral("TTY reopened ") + path_);
}

}  // namespace qireq::sim
