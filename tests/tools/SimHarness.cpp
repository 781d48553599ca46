#include "SimHarness.h"

#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace qireq::sim::test {

namespace {
QString SocatPath() { return QStandardPaths::findExecutable(QStringLiteral("socat")); }
}  // namespace

FrameSink::FrameSink()
{
    assembler.SetFrameHandler([this](const QByteArray& frame) { frames.push_back(frame); });
}

bool FrameSink::WaitFrames(std::size_t count, int timeoutMs) const
{
    return WaitFor([&] { return frames.size() >= count; }, timeoutMs);
}

TcpPeer::TcpPeer()
{
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
        const QByteArray bytes = socket.readAll();
        received += bytes;
        sink.assembler.Feed(bytes);
    });
}

bool TcpPeer::Connect(const QHostAddress& address, quint16 port, int timeoutMs)
{
    socket.connectToHost(address, port);
    return socket.waitForConnected(timeoutMs);
}

FdPeer::~FdPeer()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FdPeer FdPeer::OpenRaw(const QString& path)
{
    FdPeer peer(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (peer.fd_ >= 0) {
        termios settings{};
        ::tcgetattr(peer.fd_, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(peer.fd_, TCSANOW, &settings);
    }
    return peer;
}

bool FdPeer::Write(const QByteArray& bytes)
{
    return ::write(fd_, bytes.constData(), static_cast<std::size_t>(bytes.size())) == bytes.size();
}

bool FdPeer::ReadFrames(std::size_t count, int timeoutMs)
{
    return WaitFor(
        [&] {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
                char buffer[256];
                const ssize_t got = ::read(fd_, buffer, sizeof buffer);
                if (got > 0)
                    sink_.assembler.Feed(buffer, static_cast<qsizetype>(got));
            }
            return sink_.frames.size() >= count;
        },
        timeoutMs);
}

SocatPair::SocatPair(QString unitEnd, QString hostEnd)
    : unitEnd_(std::move(unitEnd)), hostEnd_(std::move(hostEnd))
{
}

SocatPair::~SocatPair()
{
    Stop();
}

bool SocatPair::Available()
{
    return !SocatPath().isEmpty();
}

bool SocatPair::Start()
{
    socat_.start(SocatPath(), {QStringLiteral("pty,raw,echo=0,link=") + unitEnd_,
                               QStringLiteral("pty,raw,echo=0,link=") + hostEnd_});
    return socat_.waitForStarted(5000) &&
           WaitFor([&] { return QFile::exists(unitEnd_) && QFile::exists(hostEnd_); });
}

bool SocatPair::Stop()
{
    if (socat_.state() == QProcess::NotRunning)
        return true;
    socat_.terminate();  // SIGTERM to socat's own pid
    return socat_.waitForFinished(5000);
}

}  // namespace qireq::sim::test
