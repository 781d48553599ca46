#pragma once
// What the tests of the built simulator share: the frames a byte stream
// delivers, a TCP peer on the simulator's port, a raw peer on a
// pseudo-terminal or socket descriptor, and a pair of linked
// pseudo-terminals from socat. The process itself is support/SimProcess.h;
// a simulator in a namespace of units is UnitNamespace::Exec
// (support/PrivateNetwork.h) given to SimProcess::Start.
#include "support/SimProcess.h"

#include "protocol/FrameAssembler.h"

#include <QByteArray>
#include <QHostAddress>
#include <QProcess>
#include <QString>
#include <QTcpSocket>

#include <vector>

namespace qireq::sim::test {

// Collects the frames a stream delivers.
struct FrameSink {
    FrameSink();
    FrameSink(const FrameSink&) = delete;
    FrameSink& operator=(const FrameSink&) = delete;
    // Whether at least count frames have come within the time.
    bool WaitFrames(std::size_t count, int timeoutMs = 5000) const;

    FrameAssembler assembler;
    std::vector<QByteArray> frames;
};

// The control program's side of a TCP connection to a unit.
class TcpPeer {
public:
    TcpPeer();
    bool Connect(const QHostAddress& address, quint16 port, int timeoutMs = 3000);
    bool Write(const QByteArray& bytes) { return socket.write(bytes) == bytes.size(); }

    QTcpSocket socket;
    FrameSink sink;
    QByteArray received;  // every byte, as it came
};

// A descriptor read without Qt: a pseudo-terminal opened raw (Open) or a
// socket handed in. Closed by the destructor.
class FdPeer {
public:
    FdPeer() = default;
    explicit FdPeer(int fd) : fd_(fd) {}
    ~FdPeer();
    FdPeer(const FdPeer&) = delete;
    FdPeer& operator=(const FdPeer&) = delete;

    // Opens a pseudo-terminal as the control program would: raw, not as
    // the controlling terminal.
    static FdPeer OpenRaw(const QString& path);
    FdPeer(FdPeer&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    bool Write(const QByteArray& bytes);
    // Reads until count frames have arrived or the time is up.
    bool ReadFrames(std::size_t count, int timeoutMs = 3000);

    std::vector<QByteArray>& Frames() { return sink_.frames; }

private:
    int fd_ = -1;
    FrameSink sink_;
};

// Two linked pseudo-terminals from socat under the given paths: the unit
// gets one end as its tty, the test plays the control program on the
// other. Ended by its own pid.
class SocatPair {
public:
    SocatPair(QString unitEnd, QString hostEnd);
    ~SocatPair();
    static bool Available();
    // Starts socat and waits for both links.
    bool Start();
    // Ends socat: both pseudo-terminals go.
    bool Stop();
    const QString& UnitEnd() const { return unitEnd_; }
    const QString& HostEnd() const { return hostEnd_; }

private:
    QString unitEnd_;
    QString hostEnd_;
    QProcess socat_;
};

}  // namespace qireq::sim::test
