#pragma once
// The simulator's log: one line per event on stdout, flushed at once, so a
// test reading the pipe sees each frame as soon as it has passed.
//   RX 01 20 03 40 09 0B 01 05 60     a frame received
//   TX 01 20 03 40 09 0B 01 05 60     a frame sent (when its first byte leaves)
//   GARBAGE FF 00 ...                 filler bytes sent between frames
//   UDP-RX 127.0.0.1:8000 01 02 ...   a datagram received, with its sender
//   UDP-TX 127.0.0.1:8000 01 82 ...   a datagram sent, with its destination
// Other lines (PTY, TCP, CONNECT, READY, ...) describe the transports. When
// one process plays many units, each unit's lines start with "[<addr>] ".
#include <QByteArray>
#include <QString>

#include <functional>

namespace qireq::sim {

// Bytes as upper-case hexadecimal pairs separated by single spaces.
QString HexLine(const QByteArray& bytes);

class SimLog {
public:
    using Sink = std::function<void(const QString& line)>;

    SimLog();  // writes to stdout
    explicit SimLog(Sink sink) : sink_(std::move(sink)) {}

    void Line(const QString& text) const { sink_(text); }
    void Bytes(const QString& tag, const QByteArray& bytes) const;

    // A log into the same sink whose every line starts with `prefix`: one
    // unit's lines among many ("[10.77.1.5] TX ...").
    SimLog Prefixed(const QString& prefix) const;

private:
    Sink sink_;
};

}  // namespace qireq::sim
