#include "SimResponder.h"

namespace qireq::sim {

SimResponder::SimResponder(SimDevice& device, Writer write, Dropper drop, QObject* parent)
    : QObject(parent), device_(device), drop_(std::move(drop)), output_(std::move(write), this)
{
    assembler_.SetFrameHandler([this](const QByteArray& frame) { HandleFrame(frame); });
}

void SimResponder::Receive(const char* data, qsizetype size)
{
    if (!dropped_)
        assembler_.Feed(data, size);
}

void SimResponder::HandleFrame(const QByteArray& frame)
{
    // Bytes after the frame that ends the connection are not looked at.
    if (dropped_)
        return;
    ++frames_;
    const SimReply reply = device_.Respond(frame, drop_ != nullptr);
    if (reply.chaos.drop) {
        EndStream();
        return;
    }
    const SimFaults& faults = device_.Faults();
    const qint64 due = output_.NowMs() + faults.delayMs + reply.chaos.delayMs;
    if (!reply.chaos.flood.isEmpty())
        QueueFlood(reply.chaos.flood, due);
    if (!reply.bytes.isEmpty()) {
        const int piece = reply.chaos.pieceBytes > 0 ? reply.chaos.pieceBytes : faults.chunkBytes;
        if (faults.garbage)
            QueueReply(GarbageBytes(), QStringLiteral("GARBAGE"), due, piece);
        QueueReply(reply.bytes, QStringLiteral("TX"), due, piece);
        if (reply.chaos.duplicate)
            QueueReply(reply.bytes, QStringLiteral("TX"), due, piece);
    }
    if (drop_ && faults.dropAfter >= 0 && frames_ >= faults.dropAfter)
        EndStream();
}

void SimResponder::EndStream()
{
    dropped_ = true;
    SimOutputQueue::Item end;
    end.onSend = [this] {
        device_.Log().Line(QStringLiteral("DROP"));
        drop_();
    };
    output_.Push(std::move(end));
}

void SimResponder::QueueReply(const QByteArray& reply, const QString& tag, qint64 notBeforeMs,
                              int pieceBytes)
{
    const int piece = pieceBytes > 0 ? pieceBytes : static_cast<int>(reply.size());
    for (qsizetype at = 0; at < reply.size(); at += piece) {
        SimOutputQueue::Item item;
        item.bytes = reply.mid(at, piece);
        item.notBeforeMs = notBeforeMs;
        if (at == 0) {
            item.onSend = [this, reply, tag] { device_.Log().Bytes(tag, reply); };
        } else {
            item.gapMs = device_.Faults().chunkPauseMs;
        }
        output_.Push(std::move(item));
    }
}

// In one piece, and logged by its size only: a megabyte as hex would
// swamp the log.
void SimResponder::QueueFlood(const QByteArray& flood, qint64 notBeforeMs)
{
    SimOutputQueue::Item item;
    item.bytes = flood;
    item.notBeforeMs = notBeforeMs;
    item.onSend = [this, size = flood.size()] {
        device_.Log().Line(QStringLiteral("FLOOD %1").arg(size));
    };
    output_.Push(std::move(item));
}

}  // namespace qireq::sim
