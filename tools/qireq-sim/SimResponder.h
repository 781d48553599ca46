#pragma once
// One byte stream to the unit (a TCP connection, the pty, a tty): finds the
// request frames in what arrives, asks the device for each reply and sends
// it, shaped by the fault switches (delay, pieces, garbage, dropping) and
// by the chaos (silence, drops, floods, pieces, delays, duplicates).
#include "SimDevice.h"
#include "SimOutputQueue.h"

#include "protocol/FrameAssembler.h"

#include <QObject>

#include <functional>

namespace qireq::sim {

class SimResponder : public QObject {
    Q_OBJECT
public:
    using Writer = SimOutputQueue::Writer;
    using Dropper = std::function<void()>;

    // `drop` ends the connection; null for streams that cannot be dropped
    // (the fault then does not apply). It is called from inside the output
    // queue, so it must not destroy this responder synchronously.
    SimResponder(SimDevice& device, Writer write, Dropper drop, QObject* parent = nullptr);

    void Receive(const char* data, qsizetype size);
    void Receive(const QByteArray& bytes) { Receive(bytes.constData(), bytes.size()); }

    bool Dropped() const { return dropped_; }

private:
    void HandleFrame(const QByteArray& frame);
    // Ends the connection once what is queued has gone out.
    void EndStream();
    // `pieceBytes` > 0: in pieces of that size, spaced by the chunk pause.
    void QueueReply(const QByteArray& reply, const QString& tag, qint64 notBeforeMs, int pieceBytes);
    void QueueFlood(const QByteArray& flood, qint64 notBeforeMs);

    SimDevice& device_;
    Dropper drop_;
    SimOutputQueue output_;
    FrameAssembler assembler_;
    int frames_ = 0;
    bool dropped_ = false;
};

}  // namespace qireq::sim
